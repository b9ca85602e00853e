#pragma once

#include <QValidator>

// A single-line field holds one line: line ends that arrive typed, pasted, dropped or set are taken out, so a
// number copied with its line end stays the number and a name cannot hide a second line.
class SingleLineValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};
