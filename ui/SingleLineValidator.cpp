#include "SingleLineValidator.h"

#include "TextFit.h"

QValidator::State SingleLineValidator::validate(QString& input, int& pos) const {
    for (qsizetype i = input.size() - 1; i >= 0; --i) {
        const QChar c = input.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator) {
            input.remove(i, 1);
            if (i < pos)
                --pos;
        }
    }
    if (m_storedSize > 0) {
        const QByteArray stored = input.toUtf8();
        if (FittedLength(std::string_view(stored.constData(), std::size_t(stored.size())), m_storedSize) <
            std::size_t(stored.size()))
            return Invalid;
    }
    return Acceptable;
}
