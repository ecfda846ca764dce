#pragma once

#include <QDialog>
#include <QPointer>

class QLabel;
class TElidedLabel;
class QPushButton;
class QVBoxLayout;
class TMainHost;

// Base of the modal editing dialogs: a coloured title band, OK and Cancel at
// the bottom right and, for a dialog with a help context, a Help button at
// the bottom left. A concrete dialog puts its content in Body(), connects
// BtOk to its own handler, and accepts only when its input is valid.
class TMPDialog : public QDialog {
    Q_OBJECT

public:
    TMPDialog(TMainHost& host, int helpContext, QWidget* parent);

    QString Title() const { return windowTitle(); }
    // Sets both the window caption and the title band.
    void SetTitle(const QString& title);

    // Shows the topic of the dialog's help context; nothing for none.
    void BtHelpClick();

protected:
    void showEvent(QShowEvent* event) override;

    QWidget* Body() const { return FBody; }
    QVBoxLayout* BodyLayout() const { return FBodyLayout; }

    TMainHost& Host;
    QPushButton* BtOk;
    QPushButton* BtCancel;
    QPointer<QPushButton> BtHelp;
    TElidedLabel* LbTitle;

private:
    QWidget* FBody;
    QVBoxLayout* FBodyLayout;
};
