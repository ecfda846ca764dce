#pragma once

#include <QWidget>

class QTextBrowser;
class QUrl;

// The program's help window: the help pages beside the program, one topic per
// help context number, and an index linking them. A window of its own, not
// the main window's: it stays usable while a dialog is open, and Escape
// closes it.
class TFrmHelp : public QWidget {
    Q_OBJECT

public:
    explicit TFrmHelp(QWidget* parent);

    // Shows the topic of the context number; the index for any other number.
    // Asked from a window, the help stands beside it rather than over it.
    void ShowTopic(int context, const QWidget* beside = nullptr);
    // Shows a page of the program's own, the licence for one.
    void ShowPage(const QString& path, const QWidget* beside = nullptr);

    // The page of a context number, inside the help folder.
    static QString TopicPage(int context);

protected:
    void keyPressEvent(QKeyEvent* event) override;

signals:
    // A link out of the help pages, for the desktop to open.
    void ExternalLinkClicked(const QUrl& address);

private:
    void PlaceBeside(const QWidget& other);

    QTextBrowser* FBrowser;
};
