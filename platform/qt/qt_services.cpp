#include "platform/qt/qt_services.h"

#include <QDesktopServices>
#include <QFile>
#include <QGuiApplication>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "platform/qt/standard_buttons.h"

namespace orvano {

namespace {

int RoundDpi(qreal dpi) {
    return static_cast<int>(std::lround(dpi));
}

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

int QtScreen::LogicalDpiX() const {
    if (override_ > 0) return override_;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? RoundDpi(screen->logicalDotsPerInchX()) : -1;
}

int QtScreen::LogicalDpiY() const {
    if (override_ > 0) return override_;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? RoundDpi(screen->logicalDotsPerInchY()) : -1;
}

void QtMessageBoxes::Show(const std::string& text, const std::string& caption) {
    QWidget* owner = owner_ ? owner_() : nullptr;
    QMessageBox box(QMessageBox::NoIcon, FromUtf8(caption), FromUtf8(text), QMessageBox::Ok, owner);
    LabelStandardButtons(box);
    box.exec();
}

bool QtMessageBoxes::AskYesNo(const std::string& text, const std::string& caption) {
    QWidget* owner = owner_ ? owner_() : nullptr;
    QMessageBox box(QMessageBox::Question, FromUtf8(caption), FromUtf8(text),
                    QMessageBox::Yes | QMessageBox::No, owner);
    box.setDefaultButton(QMessageBox::Yes);
    LabelStandardButtons(box);
    return box.exec() == QMessageBox::Yes;
}

bool QtShell::OpenDocument(const std::string& pathOrUrl) {
    const QString text = FromUtf8(pathOrUrl);
    // A path is opened as a file even when it holds characters a URL would read specially.
    const QUrl url = text.contains(QStringLiteral("://")) ? QUrl(text, QUrl::StrictMode)
                                                          : QUrl::fromLocalFile(text);
    if (!url.isValid()) return false;
    return QDesktopServices::openUrl(url);
}

bool QtShell::StartProgram(const std::string& program, const std::vector<std::string>& arguments) {
    QStringList list;
    for (const auto& argument : arguments) list << FromUtf8(argument);
    return QProcess::startDetached(FromUtf8(program), list);
}

std::string QtShell::ModulePath() const {
    std::error_code ec;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : path.string();
}

std::optional<std::string> QtStringTable::Load(int id) const {
    QFile file(QStringLiteral(":/orvano/string/%1").arg(id));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    std::string text = file.readAll().toStdString();
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

}  // namespace orvano
