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
        const QByteArray before = m_accepted.toUtf8();
        const QByteArray after = input.toUtf8();
        const std::size_t editEnd = std::size_t(input.left(pos).toUtf8().size());
        const FittedEdit fit =
            FitEdit(std::string_view(before.constData(), std::size_t(before.size())),
                    std::string_view(after.constData(), std::size_t(after.size())), m_storedSize, editEnd);
        if (!fit.whole) {
            input = QString::fromStdString(fit.text);
            pos = int(QString::fromUtf8(fit.text.data(), qsizetype(fit.caret)).size());
            if (m_refusalBeep)
                m_refusalBeep();
        }
    }
    m_accepted = input;
    return Acceptable;
}
