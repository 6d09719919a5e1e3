#ifndef SQLTABLE_H
#define SQLTABLE_H

#include <QTableView>

// The phrase table: turns the phrase keys into signals for the browser and
// reports focus changes, so the browser can enable its actions and watcher.
class SQLTable : public QTableView
{
    Q_OBJECT

public:
    explicit SQLTable(QWidget *parent = nullptr);

signals:
    void keyDelete();
    void keyInsert();
    void keyUndo();
    void keyCopy();
    void keyPaste();
    void changeFocus(bool enabled);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
};

#endif // SQLTABLE_H
