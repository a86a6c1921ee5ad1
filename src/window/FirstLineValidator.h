#pragma once

#include "common/Text.h"

#include <QValidator>

// Holds a one-line box to one line: of a multi-line paste or drop only the first line goes in, as in a
// one-line Windows box. Nothing else of what is pasted changes; typed keys have their own filter.
class FirstLineValidator : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString& input, int& pos) const override
    {
        Text::keepFirstInsertedLine(input, pos);
        return Acceptable;
    }
};
