#include "editor/htmledit.h"

#include "exchange/htmlsanitizer.h"

#include <QBuffer>
#include <QHash>
#include <QImageReader>
#include <QKeyEvent>
#include <QMimeData>
#include <QPixmap>
#include <QStyle>
#include <QTextFormat>

#include <algorithm>

namespace {

// Pixels of embedded images decoded for one phrase: a few bytes of PNG can stand for
// gigabytes of them.
constexpr qint64 pixelBudget = 8 * 1024 * 1024;

QByteArray dataUrlBytes(const QUrl &url)
{
    QByteArray data = QByteArray::fromPercentEncoding(url.toString(QUrl::FullyEncoded | QUrl::RemoveScheme).toLatin1());
    const int comma = data.indexOf(',');
    if (comma < 0)
        return QByteArray();
    const bool base64 = data.left(comma).trimmed().toLower().endsWith(";base64");
    data.remove(0, comma + 1);
    return base64 ? QByteArray::fromBase64(data) : data;
}

// Raster formats only: an SVG may name image files of its own, and Qt SVG loads them.
QImage decodedImage(const QByteArray &bytes, qint64 *pixelsLeft)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const QByteArray format = QImageReader::imageFormat(&buffer);
    if (!QByteArrayList{"png", "jpeg", "jpg", "gif", "bmp", "webp", "ico"}.contains(format))
        return QImage();
    QImageReader reader(&buffer, format);
    const QSize size = reader.size();
    if (!size.isValid() || qint64(size.width()) * size.height() > *pixelsLeft)
        return QImage();
    const QImage image = reader.read();
    *pixelsLeft -= qint64(image.width()) * image.height();
    return image;
}

// The editor's document. It never loads a resource itself but asks the editor: its base
// class reads any local file named, and Qt opens the name of an image it got no picture
// for as a file. So every image gets one, the style's file icon when nothing else.
class EditorDocument : public QTextDocument
{
public:
    explicit EditorDocument(HtmlEdit *edit)
        : QTextDocument(edit)
        , edit(edit)
    {}

    void clear() override
    {
        images.clear();
        pixelsLeft = pixelBudget;
        QTextDocument::clear();
    }

protected:
    QVariant loadResource(int type, const QUrl &name) override
    {
        const QVariant answer = edit->loadResource(type, name);
        if (type != QTextDocument::ImageResource)
            return answer;
        const auto cached = images.constFind(name);
        if (cached != images.cend())
            return *cached;
        const QImage image = decodedImage(answer.toByteArray(), &pixelsLeft);
        if (!image.isNull())
            return images[name] = QPixmap::fromImage(image);
        // A background named by an attribute or a style shows nothing, as before.
        if (!namesImage(name))
            return QVariant();
        return images[name] = edit->style()->standardIcon(QStyle::SP_FileIcon).pixmap(16, 16);
    }

private:
    bool namesImage(const QUrl &name) const
    {
        const QVector<QTextFormat> formats = allFormats();
        return std::any_of(formats.cbegin(), formats.cend(), [&name](const QTextFormat &format) {
            return format.isImageFormat() && QUrl(format.toImageFormat().name()) == name;
        });
    }

    HtmlEdit *edit;
    QHash<QUrl, QVariant> images;
    qint64 pixelsLeft = pixelBudget;
};

} // namespace

HtmlEdit::HtmlEdit(QWidget *parent)
    : QTextEdit(parent)
{
    setDocument(new EditorDocument(this));
}

QVariant HtmlEdit::loadResource(int type, const QUrl &name)
{
    if (type != QTextDocument::ImageResource || name.scheme().compare(QLatin1String("data"), Qt::CaseInsensitive) != 0)
        return QVariant();
    return dataUrlBytes(name);
}

void HtmlEdit::insertFromMimeData(const QMimeData *source)
{
    // Rich text from another program is laid out as a loaded phrase is: clamped, or past
    // the caps as its plain text.
    const QString qtFormat = QStringLiteral("application/x-qrichtext");
    if (!acceptRichText() || !(source->hasHtml() || source->hasFormat(qtFormat))) {
        QTextEdit::insertFromMimeData(source);
        return;
    }
    const SafeHtml safe = sanitizeHtml(source->hasHtml() ? source->html() : QString::fromUtf8(source->data(qtFormat)));
    QMimeData checked;
    if (!safe.plain)
        checked.setHtml(safe.text);
    checked.setText(source->hasText() || !safe.plain ? source->text() : safe.text);
    QTextEdit::insertFromMimeData(&checked);
}

void HtmlEdit::keyPressEvent(QKeyEvent *event)
{
    // A phrase never holds a tab character: Tab is left unhandled so that it
    // travels up to the parents, which move the focus along the focus chain.
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void HtmlEdit::markLoaded()
{
    baseHtml = toHtml();
    sentHtml.clear();
}

void HtmlEdit::writeResult(bool stored)
{
    if (stored)
        baseHtml = sentHtml;
}

void HtmlEdit::focusInEvent(QFocusEvent *event)
{
    emit changeFocus(isEnabled());
    if (isEnabled() && !holdsUnsavedText())
        emit enteredUnchanged();
    QTextEdit::focusInEvent(event);
}

void HtmlEdit::focusOutEvent(QFocusEvent *event)
{
    emit changeFocus(isEnabled());
    // The modified flag stays set, but only text that differs from what the file was
    // last known to hold is written: leaving without typing must not undo another's edit.
    if (holdsUnsavedText()) {
        sentHtml = toHtml();
        emit writeHtml(sentHtml, toPlainText());
    }
    QTextEdit::focusOutEvent(event);
}
