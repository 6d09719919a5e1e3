#include "app/theme.h"

#include <QColor>
#include <QPalette>
#include <QStringList>

StyleSheetKind chooseStyleSheet(QSettings::Status themeStatus, int appsUseLightTheme, const QPalette &palette)
{
    if (themeStatus == QSettings::NoError && appsUseLightTheme == 0)
        return StyleSheetKind::DarkAppMode;
    const QColor text = palette.color(QPalette::WindowText);
    const QColor window = palette.color(QPalette::Window);
    return text.black() < window.black() ? StyleSheetKind::DarkPalette : StyleSheetKind::LightPalette;
}

StyleSheetKind systemStyleSheet(const QPalette &palette)
{
    // Without a registry the native settings hold no such value, the default 1024
    // is read, and the palette decides.
    QSettings theme(
        QStringLiteral("HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize"),
        QSettings::NativeFormat);
    const int lightTheme =
        theme.status() == QSettings::NoError ? theme.value(QStringLiteral("AppsUseLightTheme"), 1024).toInt() : 1024;
    return chooseStyleSheet(theme.status(), lightTheme, palette);
}

QString styleSheet(StyleSheetKind kind)
{
    static const QString selectedInactive = QStringLiteral(
        "QTableView::item:selected:!active { background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #4060C0, "
        "stop: 1 #2050D0); color: #EEEEEE}");
    static const QString groupBoxes = QStringLiteral(
        "QGroupBox {background-color: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #606060, stop: 1 #000000); "
        "border: 1px solid gray; border-radius: 5px; margin-top: 2ex; }"
        "QGroupBox::title {subcontrol-origin: margin; subcontrol-position: top center; padding: 0 3px; "
        "background-color: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #FFAEAE, stop: 1 #000000); }");
    static const QString pushButtons = QStringLiteral(
        "QPushButton {background-color: #505050}"
        "QPushButton:focus{background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #202020, stop:0.5 #808080, "
        "stop:1 #202020); color: #F0F0F0;}"
        "QPushButton:disabled{color: #909090}");
    static const QString toolTip = QStringLiteral("QToolTip  {color: #C8FFFF; background-color:#464646; "
                                                  "font-size:12pt; padding: 3px; border: 1px solid #C8FFFF;}");

    switch (kind) {
    case StyleSheetKind::DarkAppMode:
        return QStringList{
            QStringLiteral("QWidget   {color: #e0e0e0; background-color: #252525}"),
            QStringLiteral("QTableView{background-color:#303030}"),
            QStringLiteral("QHeaderView::section { background-color: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 "
                           "#505050, stop: 0.5 #202020, stop: 0.6 #303030, stop:1 #505050); color: white; "
                           "padding-left: 4px; border: 1px solid #6c6c6c;}"),
            selectedInactive,
            QStringLiteral("QMenuBar { background-color: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 darkgray, "
                           "stop:1 black); spacing: 3px; }"),
            QStringLiteral("QMenuBar::item:selected { background: #6F6E73; color: #F0F0F0;}"),
            QStringLiteral("QMenu    { background-color: #373737; border: 1px solid black; }"),
            QStringLiteral("QMenu::item:selected { background: #6F6E73}"),
            QStringLiteral("QAbstractButton {background-color:transparent}"),
            pushButtons,
            QStringLiteral("QRadioButton { background-color: #202020 }"),
            QStringLiteral("QLabel    {background-color:transparent}"),
            groupBoxes,
            toolTip,
            QStringLiteral("QLineEdit {background-color: #303030}"),
            QStringLiteral("QSpinBox  {background-color: #606060}"),
            QStringLiteral("QDoubleSpinBox{background-color: #606060}"),
            QStringLiteral("QTextEdit { background-color: #303030; selection-background-color: #0058A7; "
                           "selection-color: #FFFFFF }"),
            QStringLiteral("QListView {background-color: #202020}"),
            QStringLiteral("QMdiSubWindow {background-color: #505050 }"),
            QStringLiteral("QTreeView {background-color: #202020}"),
            QStringLiteral("QToolBar  {background-color: #202020; border: 1px solid gray }"),
            QStringLiteral("QTextBrowser{background-color:#707070;}"),
        }
            .join(QString());
    case StyleSheetKind::DarkPalette:
        return QStringList{
            QStringLiteral("QWidget   {color: #e0e0e0; }"),
            QStringLiteral("QTableView{background-color:#303030; gridline-color:#707070 }"),
            selectedInactive,
            QStringLiteral("QComboBox {background-color: #252525; }"),
            QStringLiteral("QStatusBar{background-color: #202020; }"),
            pushButtons,
            groupBoxes,
            toolTip,
            QStringLiteral("QLineEdit {background-color: #303030; }"),
            QStringLiteral("QSpinBox  {background-color: #606060; }"),
            QStringLiteral("QDoubleSpinBox{background-color: #606060;}"),
            QStringLiteral("QTextEdit { background-color: #303030; selection-background-color: #0058A7; "
                           "selection-color: #FFFFFF }"),
            QStringLiteral("QListView {background-color: #202020; }"),
            QStringLiteral("QMdiSubWindow {background-color: #505050 }"),
            QStringLiteral("QTreeView {background-color: #202020; }"),
            QStringLiteral("QToolBar  {border: 1px solid gray }"),
            QStringLiteral("QTextBrowser{background-color:#707070;}"),
        }
            .join(QString());
    case StyleSheetKind::LightPalette:
        break;
    }
    return selectedInactive +
           QStringLiteral("QTextEdit { selection-background-color: #0078D7; selection-color: #FFFFFF }");
}
