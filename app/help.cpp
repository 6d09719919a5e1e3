#include "app/help.h"

#include "app/globals.h"

#include <QBoxLayout>
#include <QDir>
#include <QPushButton>
#include <QTextBrowser>

Help::Help(const QString &path, QWidget *parent)
    : QDialog(parent)
    , path(path)
{
    setModal(false);
    setWindowTitle(applicationName);
    setWindowFlags(Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);

    auto *backButton = new QPushButton(QStringLiteral("<<"), this);
    contentButton = new QPushButton(QObject::tr("Content"), this);
    auto *forwardButton = new QPushButton(QStringLiteral(">>"), this);
    browser = new QTextBrowser(this);
    browser->setOpenExternalLinks(true);

    connect(backButton, &QPushButton::clicked, browser, &QTextBrowser::backward);
    connect(contentButton, &QPushButton::clicked, this, &Help::index);
    connect(forwardButton, &QPushButton::clicked, browser, &QTextBrowser::forward);
    connect(browser, &QTextBrowser::backwardAvailable, backButton, &QPushButton::setEnabled);
    connect(browser, &QTextBrowser::forwardAvailable, forwardButton, &QPushButton::setEnabled);
    backButton->setEnabled(false);
    forwardButton->setEnabled(false);

    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(0);
    buttons->addWidget(backButton);
    buttons->addWidget(contentButton);
    buttons->addWidget(forwardButton);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(buttons);
    layout->addWidget(browser);
    resize(800, 600);
}

void Help::setPage(QString code, const QString &page)
{
    // Languages without pages of their own are served by the English ones.
    if (!QDir(path + QStringLiteral("/Help_") + code).exists())
        code = QStringLiteral("en");
    browser->setSearchPaths({path + QStringLiteral("/Help_") + code});
    browser->setSource(QUrl(page));
    browser->reload();
}

void Help::retranslate(const QString &code)
{
    contentButton->setText(QObject::tr("Content"));
    // The same page again, now looked up in the new language's folder.
    setPage(code, browser->source().toString());
}

void Help::index()
{
    browser->setSource(QUrl(QStringLiteral("index.htm")));
}
