// The window's pages seen from outside: `orvano --dump-ops` on Qt's offscreen
// platform, for every page, resolution, device-pixel ratio and language, with
// a town whose name is as long as data.cfg allows. Nothing may overlap: no two
// controls, no control and a painted text or image, no two texts, no text and
// an image; no text leaves the window, and no label or button cuts its text
// off. The compass, its marks and arrows are layered on purpose and are not
// checked against each other.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <algorithm>
#include <clocale>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/layout.h"

namespace orvano::testing {
namespace {

namespace fs = std::filesystem;

struct Item {
    std::string what;
    Box box;
};

bool Overlap(const Box& a, const Box& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
           b.y < a.y + a.height;
}

std::string Show(const Item& item) {
    std::ostringstream out;
    out << item.what << " [" << item.box.x << "," << item.box.y << "," << item.box.width << ","
        << item.box.height << "]";
    return out.str();
}

struct Page {
    std::vector<Item> controls;
    std::vector<Item> texts;
    std::vector<Item> images;
};

Box BoxOf(const QJsonObject& op) {
    const QJsonArray b = op.value("box").toArray();
    return Box{b.at(0).toInt(), b.at(1).toInt(), b.at(2).toInt(), b.at(3).toInt()};
}

// A control as the test names it; a label's or a button's text must fit in
// the room the control gives it, or the toolkit cuts it off.
Item ControlItem(const QJsonObject& op) {
    Item control{op.value("name").toString().toStdString(), BoxOf(op)};
    const QJsonArray text = op.value("text").toArray();
    if (!text.isEmpty()) {
        EXPECT_LE(text.at(0).toInt(), text.at(1).toInt()) << Show(control) << "'s text is cut off";
    }
    return control;
}

// The four towns of the page tests and a fifth with 79-character names.
fs::path LongNameConfig() {
    const fs::path path =
        fs::temp_directory_path() / ("orvano_geometry_" + std::to_string(::getpid()) + ".cfg");
    std::ifstream in(fs::path(ORVANO_TEST_DATA) / "app_pages_four_towns.cfg");
    std::ostringstream text;
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("1 4 ", 0) == 0) line = "1 5              4             0";
        text << line << "\n";
    }
    text << "2 " << std::string(79, 'W') << " " << std::string(79, 'M')
         << " 64.150000 -21.950000 0 0 0\n";
    std::ofstream(path) << text.str();
    return path;
}

// What `orvano ARGS --json FILE` writes, on Qt's offscreen platform at that
// device-pixel ratio; empty on failure.
std::string RunJson(QStringList args, const char* ratio, const char* locale = nullptr) {
    const fs::path out =
        fs::temp_directory_path() / ("orvano_geometry_" + std::to_string(::getpid()) + ".json");
    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("QT_SCALE_FACTOR", ratio);
    if (locale != nullptr) env.insert("LC_ALL", locale);
    run.setProcessEnvironment(env);
    args << "--json" << QString::fromStdString(out.string());
    run.start(ORVANO_PROGRAM, args);
    if (!run.waitForFinished(30000) || run.exitCode() != 0) {
        ADD_FAILURE() << "orvano failed: " << run.readAllStandardError().toStdString();
        return {};
    }
    std::ifstream in(out);
    const std::string json((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    fs::remove(out);
    return json;
}

// Every prayer with an iqama (minutes after, and a time of its own), and
// Jumu'ah on Fridays with its own: what the Home page draws beside the times.
fs::path AsidesSettings() {
    const fs::path path =
        fs::temp_directory_path() / ("orvano_geometry_" + std::to_string(::getpid()) + ".ini");
    // The store writes each text's bytes in hexadecimal.
    const auto hex = [](const std::string& text) {
        QStringList bytes;
        for (const char c : text) bytes << QString::number(static_cast<unsigned char>(c), 16);
        return "hex:" + bytes.join(',').toStdString();
    };
    std::ofstream(path) << "[Iqama]\nFajr=" << hex("20") << "\nZuhr=" << hex("15")
                        << "\nAsr=" << hex("23:59") << "\nMaghrib=" << hex("5")
                        << "\nIsha=" << hex("180") << "\n[Jumuah]\nEnabled=" << hex("1")
                        << "\nTime=" << hex("13:30") << "\nIqama=" << hex("45") << "\n";
    return path;
}

// The page's operations as `orvano --dump-ops` writes them; empty on failure.
// With `night`, the Home page shows its night times on 29 Jumada al-Akhirah
// 1448, the longest Hijri date in English and French; with `settings`,
// Friday 25 September 2026 with what they hold.
std::string DumpJson(const fs::path& config, int page, int dpi, const char* ratio, const char* lang,
                     const char* locale = nullptr, bool night = false,
                     const fs::path& settings = {}) {
    QStringList args = {"--dump-ops",
                        QString::number(page),
                        "--config",
                        QString::fromStdString(config.string()),
                        "--town",
                        "4",
                        "--lang",
                        lang,
                        "--dpi",
                        QString::number(dpi),
                        "--exploring",
                        "--at",
                        night              ? "2026-12-09 12:00:00"
                        : settings.empty() ? "2026-09-30 18:07:09"
                                           : "2026-09-25 10:00:00"};
    if (night) args << "--night";
    if (!settings.empty()) args << "--settings" << QString::fromStdString(settings.string());
    return RunJson(args, ratio, locale);
}

Page Dump(const fs::path& config, int page, int dpi, const char* ratio, const char* lang,
          bool night, const fs::path& settings = {}) {
    const std::string json = DumpJson(config, page, dpi, ratio, lang, nullptr, night, settings);
    Page result;
    for (const QJsonValue& value :
         QJsonDocument::fromJson(QByteArray::fromStdString(json)).array()) {
        const QJsonObject op = value.toObject();
        const QString kind = op.value("op").toString();
        if (kind == "control") {
            result.controls.push_back(ControlItem(op));
        } else if (kind == "text") {
            result.texts.push_back(
                {"text \"" + op.value("text").toString().toStdString() + "\"", BoxOf(op)});
        } else if (kind == "bitmap" || kind == "icon") {
            result.images.push_back(
                {kind.toStdString() + " " + std::to_string(op.value("id").toInt()), BoxOf(op)});
        }
    }
    return result;
}

// Resolutions, and device-pixel ratios of a scaled desktop.
constexpr struct {
    int dpi;
    const char* ratio;
} kScales[] = {{96, "1"}, {144, "1"}, {192, "1"}, {96, "1.5"}, {96, "2"}};

// Every language the window speaks, by the codes --lang takes.
constexpr const char* kLanguages[] = {"en", "fr", "tr", "id", "ms", "bn", "ar", "ur", "fa"};

// The Home page's Hijri line on the two days the test shows, in each language.
struct HijriLines {
    const char* lang;
    const char* day;    // 19 Rabi' al-Thani 1448
    const char* night;  // 29 Jumada al-Akhirah 1448, the longest month name
};
constexpr HijriLines kHijriLines[] = {
    {"en", "19 Rabi' al-Thani 1448", "29 Jumada al-Akhirah 1448"},
    {"fr", "19 Rabia ath-Thani 1448", "29 Joumada ath-Thania 1448"},
    {"tr", "19 Rebiülahir 1448", "29 Cemaziyelahir 1448"},
    {"id", "19 Rabiulakhir 1448", "29 Jumadilakhir 1448"},
    {"ms", "19 Rabiulakhir 1448", "29 Jamadilakhir 1448"},
    {"bn", "19 রবিউস সানি 1448", "29 জমাদিউস সানি 1448"},
    {"ar", "19 ربيع الآخر 1448", "29 جمادى الآخرة 1448"},
    {"ur", "19 ربیع الثانی 1448", "29 جمادی الثانی 1448"},
    {"fa", "19 ربیع‌الثانی 1448", "29 جمادی‌الثانی 1448"},
};

std::string HijriLine(const std::string& lang, bool night) {
    for (const HijriLines& l : kHijriLines) {
        if (lang == l.lang) return night ? l.night : l.day;
    }
    return {};
}

TEST(Geometry, NothingOverlapsOnAnyPageAtAnyScaleInAnyLanguage) {
    const fs::path config = LongNameConfig();
    const fs::path asides = AsidesSettings();
    for (const auto& scale : kScales) {
        const int width = ScaleForDpi(kLayoutClientWidth, scale.dpi);
        const int height = ScaleForDpi(kLayoutClientHeight, scale.dpi);
        for (const char* lang : kLanguages) {
            // The Home page three times: with its icon, with the night times in
            // its place, and with the iqama beside each time and Jumu'ah.
            for (int view = -2; view < 5; ++view) {
                const int page = std::max(view, 0);
                const bool night = view == -1;
                const bool withAsides = view == -2;
                SCOPED_TRACE("page " + std::to_string(page) + (night ? " night" : "") +
                             (withAsides ? " iqama" : "") + " dpi " + std::to_string(scale.dpi) +
                             " ratio " + scale.ratio + " lang " + lang);
                Page p = Dump(config, page, scale.dpi, scale.ratio, lang, night,
                              withAsides ? asides : fs::path());
                ASSERT_FALSE(p.texts.empty());
                if (withAsides) {
                    // Jumu'ah keeps its name in English and French.
                    const bool named = std::string(lang) == "en" || std::string(lang) == "fr";
                    for (const char* line :
                         {named ? "text \"Jumu'ah\"" : "text \"13:30 \"", "text \"13:30 \"",
                          "text \"14:15\"", "text \"23:59\""}) {
                        EXPECT_TRUE(std::any_of(p.texts.begin(), p.texts.end(), [&](const Item& t) {
                            return t.what == line;
                        })) << line;
                    }
                } else if (page == 0) {
                    const std::string line = std::string("text \"") + HijriLine(lang, night) + "\"";
                    EXPECT_TRUE(std::any_of(p.texts.begin(), p.texts.end(), [&](const Item& t) {
                        return t.what == line;
                    })) << line;
                }
                // Only the town line is too long for the window: shortened, not
                // cut; every other text is whole.
                int elided = 0;
                for (const Item& t : p.texts) {
                    if (t.what.find("…") == std::string::npos) continue;
                    ++elided;
                    EXPECT_NE(t.what.find("MMM…\""), std::string::npos) << t.what;
                }
                EXPECT_EQ(elided, page == 0 || page == 2 ? 1 : 0);
                for (size_t i = 0; i < p.controls.size(); ++i) {
                    for (size_t j = i + 1; j < p.controls.size(); ++j) {
                        EXPECT_FALSE(Overlap(p.controls[i].box, p.controls[j].box))
                            << Show(p.controls[i]) << " on " << Show(p.controls[j]);
                    }
                    for (const std::vector<Item>* painted : {&p.texts, &p.images}) {
                        for (const Item& item : *painted) {
                            EXPECT_FALSE(Overlap(p.controls[i].box, item.box))
                                << Show(p.controls[i]) << " on " << Show(item);
                        }
                    }
                }
                for (size_t i = 0; i < p.texts.size(); ++i) {
                    const Box& t = p.texts[i].box;
                    EXPECT_TRUE(t.x >= 0 && t.y >= 0 && t.x + t.width <= width &&
                                t.y + t.height <= height)
                        << Show(p.texts[i]) << " leaves the " << width << "x" << height
                        << " window";
                    for (size_t j = i + 1; j < p.texts.size(); ++j) {
                        EXPECT_FALSE(Overlap(t, p.texts[j].box))
                            << Show(p.texts[i]) << " on " << Show(p.texts[j]);
                    }
                    for (const Item& image : p.images) {
                        EXPECT_FALSE(Overlap(t, image.box))
                            << Show(p.texts[i]) << " on " << Show(image);
                    }
                }
            }
        }
    }
    fs::remove(config);
    fs::remove(asides);
}

// The Configuration page's dialogs, as `orvano --dump-dialog` places their
// controls: none on another, each inside the dialog, at every scale and in
// every language.
TEST(Geometry, DialogControlsStayApartInsideTheDialog) {
    for (const char* dialog : {"find", "method", "adhan"}) {
        for (const auto& scale : kScales) {
            for (const char* lang : kLanguages) {
                SCOPED_TRACE(std::string(dialog) + " dpi " + std::to_string(scale.dpi) + " ratio " +
                             scale.ratio + " lang " + lang);
                const std::string json = RunJson(
                    {"--dump-dialog", dialog, "--lang", lang, "--dpi", QString::number(scale.dpi)},
                    scale.ratio);
                const QJsonArray ops =
                    QJsonDocument::fromJson(QByteArray::fromStdString(json)).array();
                ASSERT_FALSE(ops.isEmpty());
                ASSERT_EQ(ops.at(0).toObject().value("op").toString(), "dialog");
                const Box client = BoxOf(ops.at(0).toObject());
                std::vector<Item> controls;
                for (qsizetype i = 1; i < ops.size(); ++i) {
                    const QJsonObject op = ops.at(i).toObject();
                    controls.push_back(ControlItem(op));
                }
                // Prompt, field, results, OK and Cancel; the method's rule and its label;
                // the adhan's two files, the reminder sound and the volume, each with its
                // label, 2 headings, 5 prayer rows of 3, Jumu'ah's 5 controls, OK and Cancel.
                const std::map<std::string, size_t> counts = {
                    {"find", 5U}, {"method", 7U}, {"adhan", 32U}};
                EXPECT_EQ(controls.size(), counts.at(dialog));
                for (size_t i = 0; i < controls.size(); ++i) {
                    const Box& c = controls[i].box;
                    EXPECT_TRUE(c.x >= 0 && c.y >= 0 && c.x + c.width <= client.width &&
                                c.y + c.height <= client.height)
                        << Show(controls[i]) << " leaves the dialog";
                    for (size_t j = i + 1; j < controls.size(); ++j) {
                        EXPECT_FALSE(Overlap(c, controls[j].box))
                            << Show(controls[i]) << " on " << Show(controls[j]);
                    }
                }
            }
        }
    }
}

// Qt hands the desktop's locale to the C library; numbers on the pages (the
// version, the Sun's angles) must keep their decimal point under it.
TEST(Geometry, PagesAreTheSameUnderADecimalCommaLocale) {
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "the de_DE.UTF-8 locale is not generated (tools/install-deps makes it)";
    }
    std::setlocale(LC_ALL, "C");
    const fs::path config = LongNameConfig();
    for (int page = 0; page < 5; ++page) {
        SCOPED_TRACE("page " + std::to_string(page));
        const std::string plain = DumpJson(config, page, 96, "1", "fr", "C");
        ASSERT_FALSE(plain.empty());
        EXPECT_EQ(DumpJson(config, page, 96, "1", "fr", "de_DE.UTF-8"), plain);
        // The About page's version is one such number.
        if (page == 4) {
            EXPECT_NE(plain.find(" 1.60\""), std::string::npos);
        }
    }
    fs::remove(config);
}

// Home in Arabic, read from the right: each prayer's name stands right of
// its time (the same colour), on its row; the Arabic-name images that the
// other languages show beside the times are not drawn, the names being Arabic.
TEST(Geometry, ArabicHomeNamesStandRightOfTheirTimes) {
    const fs::path config = LongNameConfig();
    const auto ops = [&](const char* lang) {
        return QJsonDocument::fromJson(
                   QByteArray::fromStdString(DumpJson(config, 0, 96, "1", lang)))
            .array();
    };
    const auto bitmaps = [](const QJsonArray& page) {
        return std::count_if(page.begin(), page.end(), [](const QJsonValue& op) {
            return op.toObject().value("op").toString() == "bitmap";
        });
    };
    EXPECT_EQ(bitmaps(ops("en")), 6);
    const QJsonArray arabic = ops("ar");
    ASSERT_FALSE(arabic.isEmpty());
    EXPECT_EQ(bitmaps(arabic), 0);
    for (const char* name : {"فجر", "شروق", "ظهر", "عصر", "مغرب", "عشاء"}) {
        SCOPED_TRACE(name);
        std::optional<QJsonObject> label;
        std::optional<QJsonObject> time;
        for (const QJsonValue& value : arabic) {
            const QJsonObject op = value.toObject();
            if (op.value("op").toString() == "text" && op.value("text").toString() == name) {
                label = op;
            }
        }
        ASSERT_TRUE(label.has_value());
        for (const QJsonValue& value : arabic) {
            const QJsonObject op = value.toObject();
            if (op.value("op").toString() == "text" && op.value("color") == label->value("color") &&
                op.value("text").toString().contains(':')) {
                time = op;
            }
        }
        ASSERT_TRUE(time.has_value());
        const Box n = BoxOf(*label);
        const Box t = BoxOf(*time);
        EXPECT_GE(n.x, t.x + t.width) << "name at " << n.x << ", time ends at " << t.x + t.width;
        EXPECT_TRUE(n.y < t.y + t.height && t.y < n.y + n.height) << "not on the time's row";
        EXPECT_EQ(label->value("align").toString(), "right");
    }
    fs::remove(config);
}

}  // namespace
}  // namespace orvano::testing
