#ifndef SERVERDIALOG_H
#define SERVERDIALOG_H

#include "db/serveraddress.h"

#include <QDialog>

class QLineEdit;
class QSpinBox;

// Asks for the server database to connect to: host, port, database and user. The password
// is not asked here: libpq's own places give it, or the password box when the server wants one.
class ServerDialog : public QDialog
{
    Q_OBJECT

public:
    // Filled from `address` when it is a server address, the last one used.
    explicit ServerDialog(const QString &address, QWidget *parent = nullptr);

    // The address the fields make, without a password.
    QString address() const;

private:
    // The last address used: its options, TLS among them, go on into the new one.
    const ServerAddress last;
    QLineEdit *host = nullptr;
    QSpinBox *port = nullptr;
    QLineEdit *database = nullptr;
    QLineEdit *user = nullptr;
};

#endif // SERVERDIALOG_H
