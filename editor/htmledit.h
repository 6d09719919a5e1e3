#ifndef HTMLEDIT_H
#define HTMLEDIT_H

#include <QTextEdit>

// The rich-text widget of the phrase editor. It never stores anything itself:
// leaving it after a change hands the phrase out through writeHtml.
class HtmlEdit : public QTextEdit
{
    Q_OBJECT

public:
    explicit HtmlEdit(QWidget *parent = nullptr);

signals:
    // Carries the widget's enabled state, not the direction of the focus change.
    void changeFocus(bool enabled);
    void writeHtml(const QString &htm, const QString &str);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
};

#endif // HTMLEDIT_H
