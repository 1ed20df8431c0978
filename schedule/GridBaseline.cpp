#include "schedule/GridBaseline.h"

#include <QCryptographicHash>

void GridBaseline::set(State state, QStringView shown)
{
    m_state = state;
    m_size = shown.size();
    m_digest = digest(shown);
}

bool GridBaseline::matches(QStringView text) const
{
    return m_state != State::Unknown && text.size() == m_size && digest(text) == m_digest;
}

QByteArray GridBaseline::digest(QStringView text)
{
    return QCryptographicHash::hash(QByteArrayView(reinterpret_cast<const char*>(text.utf16()),
                                                   text.size() * qsizetype(sizeof(char16_t))),
                                    QCryptographicHash::Sha1);
}
