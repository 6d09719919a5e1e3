#ifndef DIALOGDRIVER_H
#define DIALOGDRIVER_H

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <functional>

// Answers the modal dialogs a test provokes, one queued answer per dialog, in order.
// Each answer runs from the event loop once a new modal widget is active, so the
// code under test can block in its own exec() meanwhile.
class DialogDriver : public QObject
{
public:
    using Answer = std::function<void(QWidget *)>;

    DialogDriver()
    {
        poll.setInterval(10);
        connect(&poll, &QTimer::timeout, this, &DialogDriver::check);
        poll.start();
    }

    void expect(Answer answer) { answers.append(std::move(answer)); }

    // A file dialog: pick the name filter when one is given, type the name and accept.
    void chooseFile(const QString &name, const QString &nameFilter = QString())
    {
        expect([name, nameFilter](QWidget *w) {
            auto *dialog = qobject_cast<QFileDialog *>(w);
            if (!dialog) {
                w->close();
                return;
            }
            if (!nameFilter.isEmpty())
                dialog->selectNameFilter(nameFilter);
            // selectFile() waits for the file system model to load; typing the name does not.
            if (auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                edit->setText(name);
            else
                dialog->selectFile(name);
            static_cast<QDialog *>(dialog)->accept();
        });
    }

    void cancelFileDialog()
    {
        expect([](QWidget *w) {
            if (auto *dialog = qobject_cast<QDialog *>(w))
                dialog->reject();
        });
    }

    // A message box: remember its text and press the given button.
    void answerMessage(QMessageBox::StandardButton button = QMessageBox::Ok)
    {
        expect([this, button](QWidget *w) {
            auto *box = qobject_cast<QMessageBox *>(w);
            if (!box) {
                w->close();
                return;
            }
            titles << box->windowTitle();
            texts << box->text();
            if (QAbstractButton *b = box->button(button))
                b->click();
            else
                box->reject();
        });
    }

    bool done() const { return answers.isEmpty(); }

    QStringList titles;
    QStringList texts;
    QStringList unexpected;

private:
    void check()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal == handled)
            return;
        handled = modal;
        if (answers.isEmpty()) {
            // Nobody expected this dialog: note it and close it, never hang.
            unexpected << QString::fromLatin1(modal->metaObject()->className());
            if (auto *box = qobject_cast<QMessageBox *>(modal))
                unexpected << box->text();
            QTimer::singleShot(0, modal, [modal] { modal->close(); });
            return;
        }
        Answer answer = answers.takeFirst();
        QPointer<QWidget> target(modal);
        QTimer::singleShot(0, this, [target, answer] {
            if (target)
                answer(target);
        });
    }

    QTimer poll;
    QPointer<QWidget> handled;
    QList<Answer> answers;
};

#endif // DIALOGDRIVER_H
