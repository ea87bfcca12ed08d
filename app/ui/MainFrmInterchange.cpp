// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's File > Import, Export and Print: choose the file, call
// the format, show its report.
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QVBoxLayout>
#include <cstring>

#include "app/ui/MainFrm.h"
#include "base/AtomicFile.h"
#include "core/State.h"
#include "document/DocumentChange.h"
#include "document/DocumentFiles.h"
#include "document/DocumentView.h"
#include "image/formats/ChirpCsv.h"
#include "image/formats/InterchangeTexts.h"
#include "image/formats/JsonDump.h"
#include "image/formats/JsonLoad.h"
#include "image/formats/PrintContent.h"
#include "image/formats/qt/PrintPainter.h"
#include "settings/Language.h"
#include "settings/MsgBox.h"

namespace {
QString T(const char* key, const std::vector<std::string>& args = {})
{
    return QString::fromStdString(InterchangeText(key, args));
}

struct FormatChoice {
    Command command;
    const char* filterName;
    const char* suffix;
};
constexpr FormatChoice kFormats[] = {
    {Command::ImportCsv, "CsvFiles", "csv"}, {Command::ImportJson, "JsonFiles", "json"},
    {Command::ExportCsv, "CsvFiles", "csv"}, {Command::ExportJson, "JsonFiles", "json"},
    {Command::ExportPdf, "PdfFiles", "pdf"},
};

const FormatChoice& FormatOf(Command command)
{
    for (const FormatChoice& f : kFormats)
        if (f.command == command)
            return f;
    return kFormats[0];
}

QString Filter(const FormatChoice& f)
{
    return T(f.filterName) + QString(" (*.%1)").arg(f.suffix);
}

// The rows an import did not take, and its notes, in a window of their own
// that stays open beside the main window until closed. `failure`, when
// given, says why nothing was imported in place of the count.
void ShowImportReport(QWidget* parent, const ChirpCsvReport& report, const std::string& failure = {})
{
    auto* dialog = new QDialog(parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setObjectName("fImportReport");
    dialog->setWindowTitle(T("ReportCaption"));
    auto* layout = new QVBoxLayout(dialog);
    auto* summary = new QLabel(
        failure.empty() ? T("ReportSummary", {std::to_string(report.taken), std::to_string(report.refused.size())})
                        : T("ImportFailed", {failure}),
        dialog);
    summary->setObjectName("lSummary");
    layout->addWidget(summary);
    auto* list = new QPlainTextEdit(dialog);
    list->setObjectName("mRows");
    list->setAccessibleName(T("ReportRows"));
    list->setReadOnly(true);
    for (const std::string& line : RefusalLines(report))
        list->appendPlainText(QString::fromStdString(line));
    for (const std::string& line : ChangeLines(report))
        list->appendPlainText(QString::fromStdString(line));
    for (const std::string& note : report.notes)
        list->appendPlainText(QString::fromStdString(note));
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(dialog);
    buttons->addButton(T("ReportClose"), QDialogButtonBox::AcceptRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    layout->addWidget(buttons);
    dialog->resize(560, 360);
    dialog->show();
}
} // namespace

void TfMainFrm::ImportFile(Command command)
{
    // JSON replaces the whole document, so its changes are offered for
    // saving first, as Open does.
    if (command == Command::ImportJson && !OfferToSaveChanges(FileName, *this))
        return;
    const FormatChoice& format = FormatOf(command);
    QFileDialog dialog(this);
    dialog.setNameFilter(Filter(format));
    dialog.setFileMode(QFileDialog::ExistingFile);
    QCheckBox* keep = nullptr;
    if (command == Command::ImportCsv) {
        // The check box sits below the file list, so the dialog is Qt's own.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        keep = new QCheckBox(T("KeepLocations"), &dialog);
        if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
            grid->addWidget(keep, grid->rowCount(), 0, 1, -1);
    }
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        ImportPath(dialog.selectedFiles().front().toStdString(), command, keep && keep->isChecked());
}

void TfMainFrm::ImportPath(const std::string& path, Command command, bool keepLocations)
{
    int err = 0;
    const std::optional<std::string> text = ReadFileBounded(path, kMaxExchangeFileSize, true, err);
    if (!text) {
        MsgBox(Language.Confirmation, Language.FileOpenError + " \"" + path + "\": " + std::strerror(err),
               kMsgInformation);
        return;
    }
    std::string failure;
    ChirpCsvReport report;
    if (command == Command::ImportCsv) {
        ChirpCsvOptions options;
        options.keepLocations = keepLocations;
        // Into the file's own locations, the channels it does not name stay.
        options.replaceChannels = !keepLocations;
        // One step of the undo history: the channels are all the import changes.
        TDocumentChange change([] { return InterchangeText("UndoImport"); });
        const TDocumentSnapshot before = TakeSnapshot();
        report = ChirpCsvToDocument(*text, options);
        failure = report.failure;
        // A file of which no row was taken imports nothing: the channels
        // it would have emptied stay as they were.
        if (failure.empty() && report.taken == 0)
            failure = InterchangeText("NothingTaken");
        if (!failure.empty())
            RestoreSnapshot(before);
    } else {
        failure = JsonToDocument(*text).error;
    }
    if (!failure.empty()) {
        if (report.refused.empty())
            MsgBox(Language.Confirmation, InterchangeText("ImportFailed", {failure}), kMsgInformation);
        else
            ShowImportReport(this, report, failure);
        return;
    }
    // The imported JSON is a new document, with no file until it is saved.
    if (command == Command::ImportJson)
        FileName.clear();
    BuildTree();
    UpdateStatus();
    RefreshEditors();
    // JSON may change the model, the band and the codes beside the image,
    // which the undo history does not hold: it starts again, unsaved.
    if (command == Command::ImportJson)
        StartUndoHistory(false);
    if (!report.refused.empty() || !report.changed.empty() || !report.notes.empty())
        ShowImportReport(this, report);
}

void TfMainFrm::ExportFile(Command command)
{
    const FormatChoice& format = FormatOf(command);
    const QString path = QFileDialog::getSaveFileName(this, QString(), QString(), Filter(format));
    if (path.isEmpty())
        return;
    std::string file = path.toStdString();
    if (!file.ends_with(std::string(".") + format.suffix))
        file += std::string(".") + format.suffix;
    std::string bytes;
    std::vector<std::string> notes;
    if (command == Command::ExportPdf) {
        const QByteArray pdf = PdfBytes(ComposePrint(FileName));
        bytes.assign(pdf.constData(), static_cast<size_t>(pdf.size()));
    } else {
        bytes = command == Command::ExportCsv ? DocumentToChirpCsv(&notes)
                                              : DocumentToJson({ALL.ModelCode, ALL.FamilyCode, ALL.AreaCode});
    }
    // Every export reaches the disk in one piece or not at all.
    const std::error_code written = bytes.empty() ? std::make_error_code(std::errc::io_error)
                                                  : ReplaceFileAtomically(file, bytes);
    if (written) {
        MsgBox(Language.Confirmation, Language.FileCreateError + " \"" + file + "\": " + written.message(),
               kMsgInformation);
        return;
    }
    // Rows that CHIRP will leave out, named after the file is written.
    std::string said;
    for (const std::string& note : notes)
        said += (said.empty() ? "" : "\n") + note;
    if (!said.empty())
        MsgBox(Language.Caution, said, kMsgInformation);
}

void TfMainFrm::PrintDocument()
{
    const PrintContent content = ComposePrint(FileName);
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog preview(&printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [&content](QPrinter* target) { PaintPrint(*target, content); });
    preview.exec();
}
