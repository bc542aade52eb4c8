#include "platform/qt/qt_surface.h"

#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <cmath>
#include <iterator>

namespace orvano {

namespace {

// Resource images are compiled in under :/orvano/bitmap/ID.png and
// :/orvano/icon/ID.png, each also drawn for ratios 1.5 and 2 (ID@1.5x.png,
// ID@2x.png). Bitmaps are opaque copies; icons keep their alpha.
QImage Decode(int resourceId, bool icon, double ratio) {
    // The smallest image made for at least this ratio: a larger one is only
    // ever scaled down, never a 1x image up.
    const struct {
        double ratio;
        const char* suffix;
    } kMade[] = {{1.0, ""}, {1.5, "@1.5x"}, {2.0, "@2x"}};
    size_t pick = std::size(kMade) - 1;
    for (size_t i = 0; i < std::size(kMade); ++i) {
        if (kMade[i].ratio >= ratio - 0.01) {
            pick = i;
            break;
        }
    }
    const QString path = QString(icon ? ":/orvano/icon/%1%2.png" : ":/orvano/bitmap/%1%2.png")
                             .arg(resourceId)
                             .arg(QLatin1String(kMade[pick].suffix));
    QImage image(path);
    if (image.isNull()) return image;
    image =
        image.convertToFormat(icon ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    image.setDevicePixelRatio(kMade[pick].ratio);
    return image;
}

QColor ToQColor(Colour c) {
    return QColor(c.red, c.green, c.blue);
}

}  // namespace

const QImage& QtImageCache::Bitmap(int resourceId, double ratio) {
    const auto key = std::make_pair(resourceId, ratio);
    auto it = bitmaps_.find(key);
    if (it == bitmaps_.end()) it = bitmaps_.emplace(key, Decode(resourceId, false, ratio)).first;
    return it->second;
}

const QImage& QtImageCache::Icon(int resourceId, double ratio) {
    const auto key = std::make_pair(resourceId, ratio);
    auto it = icons_.find(key);
    if (it == icons_.end()) it = icons_.emplace(key, Decode(resourceId, true, ratio)).first;
    return it->second;
}

std::string LoadResourceString(int id) {
    QFile file(QString(":/orvano/string/%1").arg(id));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll().toStdString();
}

bool PaintToPng(const std::string& file, int width, int height, int dpi,
                const std::function<void(Surface&)>& paint) {
    // Under a scaled desktop (QT_SCALE_FACTOR) the image has that many device
    // pixels per layout pixel, as the window would.
    const double ratio = qGuiApp->devicePixelRatio();
    QImage image(static_cast<int>(std::lround(width * ratio)),
                 static_cast<int>(std::lround(height * ratio)), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);  // the window's background brush
    const int dotsPerMeter = static_cast<int>(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    QtImageCache cache;
    {
        QPainter painter(&image);
        QtSurface surface(painter, dpi, Rect{0, 0, width, height}, &cache);
        paint(surface);
    }
    return image.save(QString::fromStdString(file), "PNG");
}

QtSurface::QtSurface(QPainter& painter, int logicalDpiY, Rect paintArea, QtImageCache* cache)
    : painter_(painter), dpiY_(logicalDpiY), area_(paintArea), cache_(cache) {
    defaultFont_ = QGuiApplication::font();
    painter_.setFont(defaultFont_);
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
}

QtSurface::~QtSurface() = default;

double QtSurface::Ratio() const {
    const QPaintDevice* device = painter_.device();
    return device != nullptr ? device->devicePixelRatioF() : 1.0;
}

QFont FontFor(const FontSpec& spec) {
    QFont font =
        spec.face.empty() ? QGuiApplication::font() : QFont(QString::fromStdString(spec.face));
    if (spec.height < 0) {
        font.setPixelSize(-spec.height);
    } else if (spec.height > 0) {
        // A positive height is the whole cell (ascent plus descent): find the
        // em size that gives that cell.
        font.setPixelSize(spec.height);
        const int cell = QFontMetrics(font).height();
        if (cell > 0) {
            font.setPixelSize(std::max(
                1, static_cast<int>(std::lround(spec.height * double(spec.height) / cell))));
        }
    }
    font.setWeight(static_cast<QFont::Weight>(std::clamp(spec.weight, 1, 1000)));
    return font;
}

TextInk MeasureText(const FontSpec& spec, const std::string& text) {
    const QFontMetrics metrics(FontFor(spec));
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const QRect ink = metrics.tightBoundingRect(s);
    TextInk result;
    result.advance = metrics.horizontalAdvance(s);
    qsizetype inked = s.size();
    while (inked > 0 && s.at(inked - 1) == QLatin1Char(' ')) --inked;
    result.inkAdvance = metrics.horizontalAdvance(s.left(inked));
    if (!ink.isEmpty()) {
        result.top = metrics.ascent() + ink.top();
        result.height = ink.height();
    }
    return result;
}

FontId QtSurface::CreateFont(const FontSpec& spec) {
    const int handle = nextHandle_++;
    fonts_[handle] = FontFor(spec);
    return FontId{handle};
}

std::optional<int> QtSurface::TextWidth(const std::string& text) const {
    return painter_.fontMetrics().horizontalAdvance(
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

FontId QtSurface::SelectFont(FontId font) {
    if (font && !fonts_.count(font.value)) return selectedFont_;
    const FontId before = selectedFont_;
    selectedFont_ = font;
    painter_.setFont(font ? fonts_.at(font.value) : defaultFont_);
    return before;
}

void QtSurface::ReleaseFont(FontId font) {
    fonts_.erase(font.value);
}

PenId QtSurface::CreateSolidPen(int width, Colour colour) {
    // Wide pens have round ends and joins, so the compass arrows end softly.
    QPen pen(ToQColor(colour), std::max(width, 1), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    if (width <= 1) pen.setCosmetic(true);
    const int handle = nextHandle_++;
    pens_[handle] = pen;
    return PenId{handle};
}

PenId QtSurface::SelectPen(PenId pen) {
    if (pen && !pens_.count(pen.value)) return selectedPen_;
    const PenId before = selectedPen_;
    selectedPen_ = pen;
    return before;
}

void QtSurface::ReleasePen(PenId pen) {
    pens_.erase(pen.value);
}

void QtSurface::SetTextColour(Colour colour) {
    textColour_ = ToQColor(colour);
}

void QtSurface::SetTransparentBackground() {
    painter_.setBackgroundMode(Qt::TransparentMode);
}

void QtSurface::DrawText(int x, int y, const std::string& text, TextAlign align) {
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const QFontMetrics metrics = painter_.fontMetrics();
    int left = x;
    if (align == TextAlign::Centre) left = x - metrics.horizontalAdvance(s) / 2;
    if (align == TextAlign::Right) left = x - metrics.horizontalAdvance(s);
    painter_.setPen(textColour_);
    painter_.drawText(QPoint(left, y + metrics.ascent()), s);
}

void QtSurface::DrawTextInRect(const Rect& rect, const std::string& text, TextAlign align) {
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    painter_.setPen(textColour_);
    const Qt::Alignment alignment = Qt::AlignTop | (align == TextAlign::Centre  ? Qt::AlignHCenter
                                                    : align == TextAlign::Right ? Qt::AlignRight
                                                                                : Qt::AlignLeft);
    const auto flags = static_cast<int>(alignment.toInt());
    painter_.save();
    painter_.setClipRect(QRect(rect.left, rect.top, rect.width(), rect.height()),
                         Qt::IntersectClip);
    painter_.drawText(QRect(rect.left, rect.top, rect.width(), rect.height()), flags, s);
    painter_.restore();
}

void QtSurface::MoveTo(int x, int y) {
    penX_ = x;
    penY_ = y;
}

void QtSurface::LineTo(int x, int y) {
    if (selectedPen_) {
        painter_.setPen(pens_.at(selectedPen_.value));
    } else {
        painter_.setPen(QPen(Qt::black, 1));
    }
    painter_.drawLine(QPoint(penX_, penY_), QPoint(x, y));
    penX_ = x;
    penY_ = y;
}

BitmapId QtSurface::LoadBitmap(int resourceId) {
    Image entry{resourceId, false, QImage(), nullptr, 0, 0};
    if (cache_) {
        entry.image = &cache_->Bitmap(resourceId, Ratio());
    } else {
        entry.owned = Decode(resourceId, false, Ratio());
    }
    const QImage& image = entry.image ? *entry.image : entry.owned;
    if (image.isNull()) return BitmapId{};
    entry.width = static_cast<int>(image.deviceIndependentSize().width());
    entry.height = static_cast<int>(image.deviceIndependentSize().height());
    const int handle = nextHandle_++;
    images_.emplace(handle, std::move(entry));
    return BitmapId{handle};
}

void QtSurface::DrawBitmap(BitmapId bitmap, int x, int y) {
    auto it = images_.find(bitmap.value);
    if (it == images_.end() || it->second.icon) return;
    const QImage& image = it->second.image ? *it->second.image : it->second.owned;
    painter_.drawImage(QPoint(x, y), image);
}

void QtSurface::ReleaseBitmap(BitmapId bitmap) {
    images_.erase(bitmap.value);
}

IconId QtSurface::LoadIcon(int resourceId, int width, int height) {
    Image entry{resourceId, true, QImage(), nullptr, 0, 0};
    if (cache_) {
        entry.image = &cache_->Icon(resourceId, Ratio());
    } else {
        entry.owned = Decode(resourceId, true, Ratio());
    }
    const QImage* source = entry.image ? entry.image : &entry.owned;
    if (source->isNull()) return IconId{};
    const QSizeF own = source->deviceIndependentSize();
    if (width > 0 && height > 0 && (width != own.width() || height != own.height())) {
        const double r = source->devicePixelRatio();
        entry.owned = source->scaled(static_cast<int>(std::lround(width * r)),
                                     static_cast<int>(std::lround(height * r)),
                                     Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        entry.owned.setDevicePixelRatio(r);
        entry.image = nullptr;
        source = &entry.owned;
    }
    entry.width = static_cast<int>(source->deviceIndependentSize().width());
    entry.height = static_cast<int>(source->deviceIndependentSize().height());
    const int handle = nextHandle_++;
    images_.emplace(handle, std::move(entry));
    return IconId{handle};
}

void QtSurface::DrawIcon(IconId icon, int x, int y) {
    auto it = images_.find(icon.value);
    if (it == images_.end() || !it->second.icon) return;
    const QImage& image = it->second.image ? *it->second.image : it->second.owned;
    painter_.drawImage(QPoint(x, y), image);
}

void QtSurface::ReleaseIcon(IconId icon) {
    images_.erase(icon.value);
}

}  // namespace orvano
