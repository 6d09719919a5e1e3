#include "app/serverdialog.h"

#include "db/serveraddress.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

ServerDialog::ServerDialog(const QString &address, QWidget *parent)
    : QDialog(parent)
    , last(ServerAddress::parse(address))
{
    setWindowTitle(QObject::tr("Connect to a server"));
    host = new QLineEdit;
    host->setPlaceholderText(QObject::tr("localhost"));
    port = new QSpinBox;
    port->setRange(0, 65535);
    // 0 leaves the port to libpq: 5432, or what PGPORT says.
    port->setSpecialValueText(QObject::tr("default"));
    database = new QLineEdit;
    user = new QLineEdit;
    user->setPlaceholderText(QObject::tr("your login name"));

    if (last.isValid()) {
        host->setText(last.host());
        port->setValue(qBound(0, last.port(), 65535));
        database->setText(last.database());
        user->setText(last.user());
    }

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QObject::tr("&Connect"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    const auto needsDatabase = [this, buttons] {
        buttons->button(QDialogButtonBox::Ok)->setEnabled(!database->text().trimmed().isEmpty());
    };
    connect(database, &QLineEdit::textChanged, this, needsDatabase);
    needsDatabase();

    // Named for tests and accessibility tools.
    host->setObjectName(QStringLiteral("host"));
    database->setObjectName(QStringLiteral("database"));
    user->setObjectName(QStringLiteral("user"));
    auto *form = new QFormLayout(this);
    form->addRow(QObject::tr("&Host:"), host);
    form->addRow(QObject::tr("&Port:"), port);
    form->addRow(QObject::tr("&Database:"), database);
    form->addRow(QObject::tr("&User:"), user);
    form->addRow(buttons);
}

QString ServerDialog::address() const
{
    return last.withParts(host->text(), port->value(), database->text(), user->text()).shown();
}
