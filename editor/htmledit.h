#ifndef HTMLEDIT_H
#define HTMLEDIT_H

#include <QTextDocument>
#include <QTextEdit>

// The rich-text widget of the phrase editor. It never stores anything itself:
// leaving it after a change hands the phrase out through writeHtml.
class HtmlEdit : public QTextEdit
{
    Q_OBJECT

public:
    explicit HtmlEdit(QWidget *parent = nullptr);

    // Only images the phrase holds itself (data: URLs) show: a phrase never makes the
    // editor read a file or reach the network.
    QVariant loadResource(int type, const QUrl &name) override;

    // The text just loaded is what the file holds: the base that edits are told from.
    void markLoaded();
    // Whether the text differs from what the file was last known to hold.
    bool holdsUnsavedText() const { return document()->isModified() && toHtml() != baseHtml; }

public slots:
    // The answer to the last writeHtml: a stored text becomes the new base.
    void writeResult(bool stored);

signals:
    // Carries the widget's enabled state, not the direction of the focus change.
    void changeFocus(bool enabled);
    void writeHtml(const QString &htm, const QString &str);
    // The editor got the focus holding nothing unsaved: its phrase may be shown afresh.
    void enteredUnchanged();

protected:
    void insertFromMimeData(const QMimeData *source) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    QString baseHtml;
    QString sentHtml;
};

#endif // HTMLEDIT_H
