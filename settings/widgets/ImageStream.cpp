#include "settings/widgets/ImageStream.h"

#include "settings/ComponentImages.h"

#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <climits>
#include <cstring>

void ThrowReadError()
{
    throw EFilerError(QStringLiteral("ストリームからの読み込みエラー"));
}

void ThrowInvalidImage()
{
    throw EFilerError(QStringLiteral("無効なストリーム形式です"));
}

qint64 ImageReader::Position() const
{
    return m_stream.pos();
}

qint64 ImageReader::Remaining() const
{
    return std::max<qint64>(m_stream.size() - m_stream.pos(), 0);
}

void ImageReader::StepBack()
{
    if (m_stream.pos() == 0 || !m_stream.seek(m_stream.pos() - 1))
        ThrowReadError();
}

QByteArray ImageReader::ReadBytes(qint64 count)
{
    if (count < 0 || count > Remaining())
        ThrowReadError();
    const QByteArray bytes = m_stream.read(count);
    if (bytes.size() != count)
        ThrowReadError();
    return bytes;
}

quint8 ImageReader::ReadByte()
{
    return static_cast<quint8>(ReadBytes(1).at(0));
}

quint32 ImageReader::ReadUInt()
{
    return qFromLittleEndian<quint32>(ReadBytes(4).constData());
}

qint32 ImageReader::ReadInt()
{
    return static_cast<qint32>(ReadUInt());
}

double ImageReader::ReadDouble()
{
    const quint64 bits = qFromLittleEndian<quint64>(ReadBytes(8).constData());
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

QString ImageReader::ReadString()
{
    const quint32 size = ReadUInt();
    if (size > static_cast<quint64>(Remaining()))
        ThrowReadError();
    return QString::fromUtf8(ReadBytes(size));
}

int ImageReader::ReadCount(int minBytesEach)
{
    const quint32 count = ReadUInt();
    if (count > static_cast<quint64>(Remaining() / std::max(minBytesEach, 1)) || count > INT_MAX)
        ThrowReadError();
    return static_cast<int>(count);
}

void ImageWriter::WriteUInt(quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    m_bytes.append(bytes, 4);
}

void ImageWriter::WriteDouble(double value)
{
    quint64 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    char bytes[8];
    qToLittleEndian(bits, bytes);
    m_bytes.append(bytes, 8);
}

void ImageWriter::WriteString(const QString& value)
{
    const QByteArray utf8 = value.toUtf8();
    WriteUInt(static_cast<quint32>(utf8.size()));
    m_bytes.append(utf8);
}

void ImageWriter::FlushTo(QIODevice& stream) const
{
    if (stream.write(m_bytes) != m_bytes.size())
        throw EFilerError(QStringLiteral("ストリームへの書き込みエラー"));
}
