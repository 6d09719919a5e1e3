#ifndef DIALOGDRIVER_H
#define DIALOGDRIVER_H

#include <QtWidgets>

#include <functional>

// Answers the modal dialogs a test provokes, one queued answer per dialog, in order. Each
// answer runs from the event loop once a new modal widget is active, so the code under test
// can block in its own exec() meanwhile. A dialog nobody expected is closed, never waited on.
class DialogDriver : public QObject
{
public:
    using Answer = std::function<void(QWidget *)>;

    DialogDriver()
    {
        connect(&poll, &QTimer::timeout, this, &DialogDriver::check);
        poll.start(10);
    }

    void expect(Answer answer) { answers.append(std::move(answer)); }

    // Closing cancels a file dialog, and stops any dialog of another kind than expected.
    static void cancel(QWidget *dialog) { dialog->close(); }

    // A file dialog: pick the name filter when one is given, type the name and accept.
    void chooseFile(const QString &name, const QString &nameFilter = QString())
    {
        expect([name, nameFilter](QWidget *w) {
            auto *dialog = qobject_cast<QFileDialog *>(w);
            auto *edit = w->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            if (!dialog || !edit)
                return cancel(w);
            if (!nameFilter.isEmpty())
                dialog->selectNameFilter(nameFilter);
            edit->setText(name);                      // selectFile() would wait for the file system model to load
            static_cast<QDialog *>(dialog)->accept(); // QFileDialog's accept() is protected
        });
    }

    // A message box: remember its title and text and press the given button.
    void answerMessage(QMessageBox::StandardButton button = QMessageBox::Ok)
    {
        expect([this, button](QWidget *w) {
            auto *box = qobject_cast<QMessageBox *>(w);
            if (!box || !box->button(button))
                return cancel(w);
            titles << box->windowTitle();
            texts << box->text();
            box->button(button)->click();
        });
    }

    bool done() const { return answers.isEmpty(); }

    // Empty when every answer was used and no dialog came unasked; else what went wrong.
    QString trouble() const
    {
        QStringList found;
        if (!answers.isEmpty())
            found << QStringLiteral("%1 answer(s) unused").arg(answers.size());
        if (!unexpected.isEmpty())
            found << QStringLiteral("unexpected: ") + unexpected.join(QLatin1Char('|'));
        return found.join(QLatin1String("; "));
    }

    QStringList titles;
    QStringList texts;
    QStringList unexpected;

private:
    void check()
    {
        QWidget *modal = QApplication::activeModalWidget();
        // A dialog answered once may be the active one again for a moment, as a file
        // dialog is while it closes after its overwrite question.
        if (!modal || handled.contains(modal))
            return;
        handled << modal;
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (answers.isEmpty())
            unexpected << (box ? box->text() : QString::fromLatin1(modal->metaObject()->className()));
        const Answer answer = answers.isEmpty() ? Answer(cancel) : answers.takeFirst();
        // Apart from the poll, so that a dialog the answer opens in turn is seen by it.
        QTimer::singleShot(0, modal, [modal, answer] { answer(modal); });
    }

    QTimer poll;
    QList<QPointer<QWidget>> handled;
    QList<Answer> answers;
};

#endif // DIALOGDRIVER_H
