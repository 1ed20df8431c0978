#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

// Little-endian primitives of component images. Reads never trust a length: every count is
// capped by what remains of the stream, so a damaged image cannot make us allocate without bound.
class ImageReader final {
public:
    explicit ImageReader(QIODevice& stream) : m_stream(stream) {}

    qint64 Position() const;
    qint64 Remaining() const;
    // Moves back by one byte; the end marker of a record then serves as the list end.
    void StepBack();

    quint8 ReadByte();
    qint32 ReadInt();
    quint32 ReadUInt();
    double ReadDouble();
    QString ReadString();
    // A count of items that each take at least minBytesEach bytes.
    int ReadCount(int minBytesEach);
    // Throws EFilerError "ストリームからの読み込みエラー" when fewer bytes remain.
    QByteArray ReadBytes(qint64 count);

private:
    QIODevice& m_stream;
};

// Collects the image in memory and hands it to the stream at once.
class ImageWriter final {
public:
    void WriteByte(quint8 value) { m_bytes.append(static_cast<char>(value)); }
    void WriteInt(qint32 value) { WriteUInt(static_cast<quint32>(value)); }
    void WriteUInt(quint32 value);
    void WriteDouble(double value);
    void WriteString(const QString& value);
    void WriteBytes(const QByteArray& bytes) { m_bytes.append(bytes); }
    // Throws EFilerError "ストリームへの書き込みエラー" when the stream takes less.
    void FlushTo(QIODevice& stream) const;

private:
    QByteArray m_bytes;
};

// Failures of images, thrown as EFilerError.
[[noreturn]] void ThrowReadError();
[[noreturn]] void ThrowInvalidImage();
