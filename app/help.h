#ifndef HELP_H
#define HELP_H

#include <QDialog>

class QPushButton;
class QTextBrowser;

// The help window: the pages of one language, with back, contents and forward.
class Help : public QDialog
{
    Q_OBJECT

public:
    explicit Help(const QString &path, QWidget *parent = nullptr);

    void setPage(QString code, const QString &page);
    void retranslate(const QString &code);

    QTextBrowser *textBrowser() const { return browser; }

public slots:
    void index();

private:
    QTextBrowser *browser = nullptr;
    QPushButton *contentButton = nullptr;
    QString path;
};

#endif // HELP_H
