#pragma once

#include "model/UntStringIds.h"

#include <QString>
#include <QStringList>
#include <optional>

class QWidget;
class TDocumentController;
class TMainHost;
struct TSettings;

// Where the file dialogs of the window start and what is asked before a file
// is written: the folder of the project shown or the last one used, the file
// type chosen last, and whether a file there may be replaced.
class TFileChooser {
public:
    TFileChooser(QWidget& parent, TMainHost& host, TSettings& settings,
                 const TDocumentController& documents);

    // The project file to open, asked under the caption, and to save as;
    // none when the user cancels.
    std::optional<QString> ProjectToOpen(int captionId = StrOpenCaption);
    std::optional<QString> ProjectToSave();
    // A file to open of the kinds the filters give; none when the user cancels.
    std::optional<QString> FileToOpen(const QStringList& filters);

    // A file to write one of the kinds offered, each a filter of the save
    // dialog and its extension; the dialog selects the kind chosen last
    // (filter, 1-based, which the choice updates), and a name without any of
    // the extensions gets the selected kind's. None when the user cancels or
    // keeps the file there.
    std::optional<QString> FileToWrite(const QStringList& filters, const QStringList& extensions,
                                       int& filter, int question = StrReplaceReport);
    // The answer of a save dialog for a report, whose extensions choose its
    // format: the path and the filter left selected.
    std::optional<std::pair<QString, int>> ReportToWrite(const QStringList& filters, int filter);

    // Whether a report, picture or export may go to the path: a file there
    // is replaceable, and the user agrees to replace it when asked.
    bool MayWrite(const QString& path, int question = StrReplaceReport);
    // Whether a file may be written at the path; says why not, after the
    // context, when it is write-protected.
    bool Replaceable(const QString& path, const QString& context);

private:
    QString StartFolder() const;
    void RememberFolder(const QString& path);

    QWidget& FParent;
    TMainHost& FHost;
    TSettings& FSettings;
    const TDocumentController& FDocuments;
};
