#pragma once
// A one-line field for a DX7 name (a voice, a marker, a search text): at most ten characters,
// each one a name byte can hold, shown as the lists show it. A typed backslash or "~" turns
// into the yen sign or the arrow the DX7 shows for that byte; a character no name byte holds
// is refused as it is typed or pasted.

#include <QValidator>

class QLineEdit;

namespace librarian {

class NameFieldValidator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override;
};

// Gives the field its validator and the ten-character limit.
void MakeNameField(QLineEdit* field);

}  // namespace librarian
