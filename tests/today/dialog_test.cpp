// The options dialog built from its resource table, on Qt's offscreen platform,
// and the named sounds' mapping onto the desktop's sound theme.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <cstdlib>

#include "host/options_dialog.h"
#include "language/languages.h"
#include "language/messages.h"
#include "platform/qt/sound_canberra.h"

namespace orvano {
namespace {

struct Call {
    std::uint32_t message;
    std::uintptr_t wParam;
};
std::vector<Call> calls;

std::intptr_t RecordingProc(TodayDialog* dialog, std::uint32_t message, std::uintptr_t wParam,
                            std::intptr_t) {
    calls.push_back({message, wParam});
    if (message == kMsgInitDialog) {
        dialog->SetUpFullScreen(5);
        dialog->SetCheck(1004, true);
        return 1;
    }
    if (message == kMsgCommand && wParam == kDialogDone) dialog->EndDialog(1);
    return message == kMsgCommand ? 1 : 0;
}

TEST(OptionsDialog, BuiltFromTheResourceTable) {
    calls.clear();
    const ScopedLanguage french("fr");
    OptionsDialog dialog(RecordingProc);
    EXPECT_EQ(dialog.windowTitle(), "Configuration");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].message, kMsgInitDialog);
    const char* texts[] = {"Alarme Fajr", "Alarme Zuhr", "Alarme Asr", "Alarme Maghrib",
                           "Alarme Isha"};
    for (int id = 1002; id <= 1006; ++id) {
        auto* box = qobject_cast<QCheckBox*>(dialog.Control(id));
        ASSERT_NE(box, nullptr) << id;
        EXPECT_EQ(box->text().toStdString(), texts[id - 1002]);
        EXPECT_EQ(dialog.IsChecked(id), id == 1004);
    }
    auto* label = dialog.findChild<QLabel*>("0");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "Lance Orvano pour configurer la ville");
    {
        const ScopedLanguage english("en");
        EXPECT_EQ(OptionsDialog(RecordingProc).findChild<QLabel*>("0")->text(),
                  "Start Orvano to choose the town");
    }
    calls.resize(1);
    auto* orvano = qobject_cast<QPushButton*>(dialog.Control(1001));
    ASSERT_NE(orvano, nullptr);
    EXPECT_EQ(orvano->text(), "Orvano");
    // Dialog units become pixels: the button lies right of the text and below the boxes.
    EXPECT_GT(orvano->x(), label->x());
    EXPECT_GT(orvano->y(), dialog.Control(1006)->y());

    auto* adhan = qobject_cast<QPushButton*>(dialog.Control(1007));
    ASSERT_NE(adhan, nullptr);
    EXPECT_EQ(adhan->text(), "Adhan…");

    orvano->click();
    adhan->click();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[1].message, kMsgCommand);
    EXPECT_EQ(calls[1].wParam, 1001u);
    EXPECT_EQ(calls[2].message, kMsgCommand);
    EXPECT_EQ(calls[2].wParam, 1007u);
    EXPECT_EQ(dialog.result(), 0);  // still open

    auto* done = dialog.findChild<QDialogButtonBox*>("done");
    ASSERT_NE(done, nullptr);
    done->button(QDialogButtonBox::Ok)->click();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[3].wParam, static_cast<std::uintptr_t>(kDialogDone));
    EXPECT_EQ(dialog.result(), 1);
}

// Whatever the language's words, the Adhan button stays inside the dialog and
// clear of the switches and the other controls.
TEST(OptionsDialog, AdhanButtonStaysClearInEveryLanguage) {
    for (const LanguageName& language : Languages()) {
        const ScopedLanguage scoped(language.code);
        OptionsDialog dialog(RecordingProc);
        const QWidget* adhan = dialog.Control(1007);
        const QWidget* area = adhan->parentWidget();
        EXPECT_TRUE(area->rect().contains(adhan->geometry())) << language.code;
        for (const QObject* other : area->children()) {
            if (other == adhan || !other->isWidgetType()) continue;
            EXPECT_FALSE(
                static_cast<const QWidget*>(other)->geometry().intersects(adhan->geometry()))
                << language.code << " " << other->objectName().toStdString();
        }
    }
}

TEST(NamedSounds, MapOntoTheSoundTheme) {
    EXPECT_EQ(SoundThemeEvent("SystemStart"), "service-login");
    EXPECT_EQ(SoundThemeEvent("Notify"), "message-new-instant");
    EXPECT_EQ(SoundThemeEvent("Other"), "");
    // Without a sound device (as here) playing is silent and returns.
    CanberraSounds sounds;
    sounds.PlayNamed("Notify");
}

}  // namespace
}  // namespace orvano

// The application object must outlive every widget and go before Qt's own
// static objects, so it lives in main() rather than in a static.
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
