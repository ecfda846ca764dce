#include "shell/UntDlgAbout.h"

#include "model/UntStrings.h"
#include "shell/UntWebLinks.h"
#include "storage/UntUtils.h"
#include "workspace/UntKeyboard.h"
#include "workspace/UntMainHost.h"
#include "workspace/UntModalSeam.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

TDlgAbout::TDlgAbout(TMainHost& host, QWidget* parent)
    : QDialog(parent), FBackground(QStringLiteral(":/images/aboutbg.svg")) {
    setObjectName(QStringLiteral("DlgAbout"));
    setWindowTitle(ProductStr(StrAboutCaption));
    setFixedSize(FBackground.defaultSize());

    auto* version =
        new QLabel(LoadStr(StrAboutRelease) + QStringLiteral(" " MEROVAN_VERSION), this);
    version->setObjectName(QStringLiteral("Label2"));
    QFont versionFont = version->font();
    versionFont.setPixelSize(16);
    versionFont.setBold(true);
    versionFont.setItalic(true);
    version->setFont(versionFont);
    version->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    version->setAlignment(Qt::AlignCenter);
    version->setGeometry(0, 320, width(), 24);

    const QString address = QString::fromLatin1(MakerHomeUrl);
    auto* link = new QLabel(this);
    link->setObjectName(QStringLiteral("Label1"));
    link->setText(QStringLiteral("<a href=\"%1\" style=\"color:#9fd0ff\">%1</a>").arg(address));
    link->setTextFormat(Qt::RichText);
    link->setAlignment(Qt::AlignCenter);
    link->setCursor(Qt::PointingHandCursor);
    link->setStyleSheet(QStringLiteral("background: transparent;"));
    link->setGeometry(0, 360, width(), 22);
    connect(link, &QLabel::linkActivated, this,
            [&host](const QString& url) { host.Seam().OpenWebPage(url); });

    auto* close = new QPushButton(LoadStr(StrAboutClose), this);
    close->setObjectName(QStringLiteral("BtOk"));
    close->setDefault(true);
    close->setGeometry(width() - 85, 10, 75, 25);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    AssignAccessKeys(this);
}

void TDlgAbout::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    FBackground.render(&painter, rect());
}
