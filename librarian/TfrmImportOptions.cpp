#include "librarian/TfrmImportOptions.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace librarian {

TfrmImportOptions::TfrmImportOptions(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromLatin1(kImportCollectionCaption));
    auto* layout = new QVBoxLayout(this);
    labFolder = new QLabel(this);
    labFolder->setWordWrap(true);
    layout->addWidget(labFolder);
    chkSkipKnown = new QCheckBox(QString::fromLatin1(kSkipKnownCaption), this);
    chkSkipRepeated = new QCheckBox(QString::fromLatin1(kSkipRepeatedCaption), this);
    chkFolderMarkers = new QCheckBox(QString::fromLatin1(kFolderMarkersCaption), this);
    for (QCheckBox* box : {chkSkipKnown, chkSkipRepeated, chkFolderMarkers}) layout->addWidget(box);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    SetChoices({});
}

CollectionChoices TfrmImportOptions::Choices() const {
    return {chkSkipKnown->isChecked(), chkSkipRepeated->isChecked(), chkFolderMarkers->isChecked()};
}

void TfrmImportOptions::SetChoices(const CollectionChoices& choices) {
    chkSkipKnown->setChecked(choices.skipKnown);
    chkSkipRepeated->setChecked(choices.skipRepeated);
    chkFolderMarkers->setChecked(choices.folderMarkers);
}

void TfrmImportOptions::SetFolders(const std::vector<std::filesystem::path>& folders) {
    QString text = QStringLiteral("Every file under ");
    for (std::size_t i = 0; i < folders.size(); ++i)
        text += (i ? QStringLiteral(", ") : QString()) + QString::fromStdString(folders[i].string());
    labFolder->setText(text + QStringLiteral(", sub-folders included, goes into the free library slots "
                                             "from the page shown on."));
}

std::optional<CollectionChoices> TfrmImportOptions::Ask(const std::vector<std::filesystem::path>& folders) {
    SetFolders(folders);
    // The choices stay as they were left when the dialog is cancelled.
    const CollectionChoices before = Choices();
    if (exec() != QDialog::Accepted) {
        SetChoices(before);
        return std::nullopt;
    }
    return Choices();
}

}  // namespace librarian
