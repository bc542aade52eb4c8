// Draws the application's bitmaps and icons, one PNG per resource
// identifier, so that the committed images can be made again from code.
//
//   make-resources OUTPUT_FOLDER
//
// The Arabic names use Noto Naskh Arabic from fonts-noto-core, the Latin
// letters Liberation Sans from fonts-liberation; both are loaded by file so
// that the result does not depend on the desktop's font configuration.
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <cmath>
#include <cstdio>

namespace {

const char* kArabicFontFile = "/usr/share/fonts/truetype/noto/NotoNaskhArabic-Bold.ttf";
const char* kLatinFontFile = "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf";

QString gArabicFamily;
QString gLatinFamily;

bool Save(const QImage& image, const QString& folder, const QString& name) {
    const QString path = folder + "/" + name;
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "make-resources: cannot write %s\n", path.toLocal8Bit().constData());
        return false;
    }
    std::printf("%s %dx%d\n", name.toLocal8Bit().constData(), image.width(), image.height());
    return true;
}

// The device-pixel ratio being drawn for: every image is drawn from the same
// vector code at its own size times this, never scaled up from a smaller one.
double gScale = 1.0;

int Scaled(int length) {
    return static_cast<int>(std::lround(length * gScale));
}

QImage White(int w, int h) {
    QImage image(Scaled(w), Scaled(h), QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

QImage Clear(int w, int h) {
    QImage image(Scaled(w), Scaled(h), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

// A painter on `image` that draws in the image's 1x coordinates.
void Begin(QPainter& p, QImage& image) {
    p.begin(&image);
    p.scale(gScale, gScale);
}

// Bitmap 130: the compass rose, North up and East right, 16-bit colour.
QImage CompassRose() {
    QImage image = White(150, 150);
    QPainter p;
    Begin(p, image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(75, 75);
    p.setPen(QPen(QColor(0, 102, 153), 2));
    p.setBrush(QColor(235, 245, 255));
    p.drawEllipse(c, 73, 73);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 102, 153), 1));
    p.drawEllipse(c, 50, 50);
    for (int deg = 0; deg < 360; deg += 10) {
        const double a = deg * M_PI / 180.0;
        const double inner = (deg % 90 == 0) ? 60 : (deg % 30 == 0 ? 64 : 67);
        p.drawLine(QPointF(c.x() + inner * std::sin(a), c.y() - inner * std::cos(a)),
                   QPointF(c.x() + 72 * std::sin(a), c.y() - 72 * std::cos(a)));
    }
    // The eight-pointed star: long points on the cardinal directions.
    for (int k = 0; k < 8; ++k) {
        const double a = k * M_PI / 4;
        const double len = (k % 2 == 0) ? 44 : 26;
        const double side = 7;
        QPainterPath left, right;
        const QPointF tip(c.x() + len * std::sin(a), c.y() - len * std::cos(a));
        const QPointF l(c.x() + side * std::sin(a - M_PI / 2),
                        c.y() - side * std::cos(a - M_PI / 2));
        const QPointF r(c.x() + side * std::sin(a + M_PI / 2),
                        c.y() - side * std::cos(a + M_PI / 2));
        left.moveTo(c);
        left.lineTo(l);
        left.lineTo(tip);
        left.closeSubpath();
        right.moveTo(c);
        right.lineTo(r);
        right.lineTo(tip);
        right.closeSubpath();
        p.setPen(QPen(QColor(0, 70, 110), 1));
        p.setBrush(k == 0 ? QColor(220, 40, 40) : QColor(0, 102, 153));
        p.drawPath(left);
        p.setBrush(k == 0 ? QColor(255, 150, 150) : QColor(170, 210, 235));
        p.drawPath(right);
    }
    QFont font(gLatinFamily);
    font.setPixelSize(13);
    font.setBold(true);
    p.setFont(font);
    struct Letter {
        const char* text;
        double deg;
        QColor colour;
    };
    const Letter letters[] = {{"N", 0, QColor(200, 0, 0)},
                              {"E", 90, QColor(0, 0, 0)},
                              {"S", 180, QColor(0, 0, 0)},
                              {"W", 270, QColor(0, 0, 0)}};
    for (const Letter& letter : letters) {
        const double a = letter.deg * M_PI / 180.0;
        const QPointF at(c.x() + 55 * std::sin(a), c.y() - 55 * std::cos(a));
        p.setPen(letter.colour);
        p.drawText(QRectF(at.x() - 8, at.y() - 8, 16, 16), Qt::AlignCenter, letter.text);
    }
    p.end();
    return image.convertToFormat(QImage::Format_RGB16).convertToFormat(QImage::Format_RGB32);
}

// Bitmap 131: the Kaaba, a black cube with its golden band.
QImage Kaaba() {
    QImage image = White(16, 16);
    QPainter p;
    Begin(p, image);
    p.fillRect(QRect(2, 4, 12, 11), QColor(20, 20, 20));
    p.fillRect(QRect(4, 2, 12, 2), QColor(60, 60, 60));
    p.fillRect(QRect(14, 2, 1, 12), QColor(60, 60, 60));
    p.fillRect(QRect(2, 6, 12, 2), QColor(230, 180, 30));
    p.fillRect(QRect(7, 10, 3, 5), QColor(200, 150, 20));
    p.end();
    return image;
}

// Bitmap 132: the Sun, a yellow disc with eight rays.
QImage Sun() {
    QImage image = White(16, 16);
    QPainter p;
    Begin(p, image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 160, 0), 1.5));
    for (int k = 0; k < 8; ++k) {
        const double a = k * M_PI / 4;
        p.drawLine(QPointF(8 + 5 * std::cos(a), 8 + 5 * std::sin(a)),
                   QPointF(8 + 7.5 * std::cos(a), 8 + 7.5 * std::sin(a)));
    }
    p.setPen(QPen(QColor(255, 140, 0), 1));
    p.setBrush(QColor(255, 220, 0));
    p.drawEllipse(QPointF(8, 8), 4.2, 4.2);
    p.end();
    return image;
}

// Bitmaps 134 to 139: the Arabic name of each time in its prayer's colour.
QImage PrayerName(const QString& text, const QColor& colour) {
    QImage image = White(42, 20);
    QPainter p;
    Begin(p, image);
    p.setRenderHint(QPainter::TextAntialiasing);
    QFont font(gArabicFamily);
    font.setBold(true);
    int pixels = 15;
    for (; pixels > 8; --pixels) {
        font.setPixelSize(pixels);
        p.setFont(font);
        const QRectF need = p.boundingRect(QRectF(0, 0, 200, 40), Qt::AlignCenter, text);
        if (need.width() <= 40 && need.height() <= 30) break;
    }
    p.setPen(colour);
    p.setLayoutDirection(Qt::RightToLeft);
    // Naskh has tall ascenders and deep descents: centre on a taller box so
    // that the letters' body, not the font's line box, sits in the middle.
    p.drawText(QRectF(0, -5, 42, 28), Qt::AlignCenter, text);
    p.end();
    return image;
}

void Crescent(QPainter& p, QPointF c, double r, const QColor& colour, const QColor& background) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(c, r, r);
    p.setBrush(background);
    p.drawEllipse(QPointF(c.x() + r * 0.42, c.y() - r * 0.18), r * 0.82, r * 0.82);
}

// Icon 111, the program's icon: a blue crescent and a golden star on a clear
// background, so that what the Home page draws under it stays readable.
QImage ProgramIcon() {
    QImage image = Clear(32, 32);
    QPainter p;
    Begin(p, image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath crescent;
    crescent.addEllipse(QPointF(13, 16), 12, 12);
    QPainterPath bite;
    bite.addEllipse(QPointF(18, 13.5), 10.5, 10.5);
    p.setPen(QPen(QColor(0, 90, 160), 1));
    p.setBrush(QColor(0, 153, 255));
    p.drawPath(crescent.subtracted(bite));
    QPainterPath star;
    for (int k = 0; k < 10; ++k) {
        const double a = -M_PI / 2 + k * M_PI / 5;
        const double r = (k % 2 == 0) ? 5.0 : 2.1;
        const QPointF pt(23 + r * std::cos(a), 14 + r * std::sin(a));
        if (k == 0)
            star.moveTo(pt);
        else
            star.lineTo(pt);
    }
    star.closeSubpath();
    p.setPen(QPen(QColor(200, 150, 0), 1));
    p.setBrush(QColor(255, 204, 0));
    p.drawPath(star);
    p.end();
    return image;
}

// Icon 110, the second icon: a small compass needle pointing to the Kaaba.
QImage CompassIcon() {
    QImage image = Clear(32, 32);
    QPainter p;
    Begin(p, image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 90, 160), 2));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 16), 14, 14);
    QPainterPath north, south;
    north.moveTo(16, 4);
    north.lineTo(20, 16);
    north.lineTo(12, 16);
    north.closeSubpath();
    south.moveTo(16, 28);
    south.lineTo(20, 16);
    south.lineTo(12, 16);
    south.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 40, 40));
    p.drawPath(north);
    p.setBrush(QColor(60, 60, 60));
    p.drawPath(south);
    p.setBrush(QColor(255, 204, 0));
    p.drawEllipse(QPointF(16, 16), 2, 2);
    p.end();
    return image;
}

// Icon 104, the Today strip's icon: a clock face with a crescent.
QImage StripIcon() {
    QImage image = Clear(32, 32);
    QPainter p;
    Begin(p, image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 90, 160), 2));
    p.setBrush(QColor(255, 250, 235));
    p.drawEllipse(QPointF(16, 16), 14, 14);
    p.setPen(QPen(QColor(0, 0, 0), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 16), QPointF(16, 8));
    p.drawLine(QPointF(16, 16), QPointF(22, 19));
    Crescent(p, QPointF(10, 22), 4, QColor(0, 153, 255), QColor(255, 250, 235));
    p.end();
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-resources OUTPUT_FOLDER\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    const int arabic = QFontDatabase::addApplicationFont(kArabicFontFile);
    const int latin = QFontDatabase::addApplicationFont(kLatinFontFile);
    if (arabic < 0 || latin < 0) {
        std::fprintf(stderr,
                     "make-resources: missing %s or %s (fonts-noto-core, fonts-liberation)\n",
                     kArabicFontFile, kLatinFontFile);
        return 1;
    }
    gArabicFamily = QFontDatabase::applicationFontFamilies(arabic).value(0);
    gLatinFamily = QFontDatabase::applicationFontFamilies(latin).value(0);

    const QString out = QString::fromLocal8Bit(argv[1]);
    bool ok = true;
    // 1x, and the ratios of desktops scaled to 150 % and 200 %: ID.png, ID@1.5x.png, ID@2x.png.
    const struct {
        double scale;
        const char* suffix;
    } ratios[] = {{1.0, ""}, {1.5, "@1.5x"}, {2.0, "@2x"}};
    for (const auto& ratio : ratios) {
        gScale = ratio.scale;
        auto name = [&ratio](const char* stem) { return QString(stem) + ratio.suffix + ".png"; };
        ok = Save(CompassRose(), out, name("bitmap130")) && ok;
        ok = Save(Kaaba(), out, name("bitmap131")) && ok;
        ok = Save(Sun(), out, name("bitmap132")) && ok;

        // Fajr, Chourouk, Zuhr, Asr, Maghrib, Isha, each in its prayer's colour.
        const struct {
            const char* utf8;
            QColor colour;
        } names[] = {{"فجر", QColor(0, 153, 255)},   {"شروق", QColor(255, 204, 0)},
                     {"ظهر", QColor(255, 102, 255)}, {"عصر", QColor(51, 255, 0)},
                     {"مغرب", QColor(255, 0, 0)},    {"عشاء", QColor(0, 0, 255)}};
        for (int i = 0; i < 6; ++i) {
            const QByteArray stem = QString("bitmap%1").arg(134 + i).toLatin1();
            ok = Save(PrayerName(QString::fromUtf8(names[i].utf8), names[i].colour), out,
                      name(stem.constData())) &&
                 ok;
        }
        ok = Save(ProgramIcon(), out, name("icon111")) && ok;
        ok = Save(CompassIcon(), out, name("icon110")) && ok;
        ok = Save(StripIcon(), out, name("icon104")) && ok;
    }
    return ok ? 0 : 1;
}
