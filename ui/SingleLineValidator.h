#pragma once

#include <QValidator>

#include <cstddef>
#include <functional>

// A single-line field holds one line: line ends that arrive typed, pasted, dropped or set are taken out, so a
// number copied with its line end stays the number and a name cannot hide a second line. With a field size, an edit
// after which the text would no longer fit the stored field is refused, so that what the field shows is what is
// kept, in any script: of an edit that would not fit, what fits goes in, in whole characters, and the rest is
// refused with a beep.
class SingleLineValidator : public QValidator {
public:
    explicit SingleLineValidator(QObject* parent, std::size_t storedSize = 0, std::function<void()> refusalBeep = {})
        : QValidator(parent), m_storedSize(storedSize), m_refusalBeep(std::move(refusalBeep)) {}
    State validate(QString& input, int& pos) const override;

private:
    std::size_t m_storedSize; // bytes of the field the text is stored in, its terminator included; 0: no limit
    std::function<void()> m_refusalBeep;
    // The field's text as last taken: what an edit started from.
    mutable QString m_accepted;
};
