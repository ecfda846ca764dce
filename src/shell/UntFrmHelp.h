#pragma once

#include <QWidget>

class QTextBrowser;
class QUrl;

// The program's help window: the help pages beside the program, one topic per
// help context number, and an index linking them. It stays usable while a
// dialog is open, and Escape closes it.
class TFrmHelp : public QWidget {
    Q_OBJECT

public:
    explicit TFrmHelp(QWidget* parent);

    // Shows the topic of the context number; the index for any other number.
    void ShowTopic(int context);
    // Shows a page of the program's own, the licence for one.
    void ShowPage(const QString& path);

    // The page of a context number, inside the help folder.
    static QString TopicPage(int context);

protected:
    void keyPressEvent(QKeyEvent* event) override;

signals:
    // A link out of the help pages, for the desktop to open.
    void ExternalLinkClicked(const QUrl& address);

private:
    QTextBrowser* FBrowser;
};
