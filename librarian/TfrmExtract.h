#pragma once
// The library extractor window "Library  Extractor": asks, before an automatic export, which
// pages (or the library's selected voices) to write and in which format. Modal, centred on the
// screen, without title-bar buttons; its settings stay from one export to the next.

#include <QDialog>

#include "librarian/AutoImportExport.h"

class QLabel;

namespace controls {
class Tzografsw;
class Tzopotlab;
}  // namespace controls

namespace librarian {

inline constexpr char kExtractorCaption[] = "Library  Extractor";

class TfrmExtract : public QDialog {
    Q_OBJECT
public:
    // `selectedCount` is the main window's count of selected voices, quoted while Extract
    // Selected is on.
    explicit TfrmExtract(const QLabel* selectedCount, QWidget* parent = nullptr);

    // Shows the window modally and returns its settings once it is closed, however it closed.
    ExtractorSettings Ask();
    // The settings as the controls show them now.
    ExtractorSettings Settings() const;

    // --- Handlers ---
    void gswExtractSelClick();
    void gswAsSysexClick();
    void swgPerfSaveClick();
    void gswGoExtractClick();
    // Quotes the current selected count when Extract Selected is on.
    void FormShow();

    // Controls, for tests and the snapshot tool.
    controls::Tzopotlab* MinPage = nullptr;
    controls::Tzopotlab* MaxPage = nullptr;
    controls::Tzografsw* gswExtractSel = nullptr;
    controls::Tzografsw* gswAsSysex = nullptr;
    controls::Tzografsw* swgPerfSave = nullptr;
    controls::Tzografsw* gswGoExtract = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* ExtractSelLabel = nullptr;
    QLabel* AsSysexLabel = nullptr;
    QLabel* PerfSaveLabel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void ShowSwitches();
    void SetLabel4(const QString& text);

    const QLabel* selectedCount_;
    ExtractorSettings settings_;
};

}  // namespace librarian
