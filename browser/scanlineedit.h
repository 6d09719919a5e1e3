#ifndef SCANLINEEDIT_H
#define SCANLINEEDIT_H

#include <QLineEdit>

// The keyword cell editor: an ordinary line edit that also teaches the keyboard
// layout table which key produced each character typed into it.
class ScanLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit ScanLineEdit(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

#endif // SCANLINEEDIT_H
