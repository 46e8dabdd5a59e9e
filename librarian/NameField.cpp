#include "librarian/NameField.h"

#include <QLineEdit>

#include "core/VoiceFormats.h"
#include "librarian/VoiceNameText.h"

namespace librarian {

QValidator::State NameFieldValidator::validate(QString& input, int&) const {
    const std::optional<QString> shown = ShownNameText(input);
    if (!shown) return Invalid;
    input = *shown;  // one character for one: the cursor stays where it was
    return Acceptable;
}

void MakeNameField(QLineEdit* field) {
    field->setMaxLength(int(core::kNameSize));
    field->setValidator(new NameFieldValidator(field));
}

}  // namespace librarian
