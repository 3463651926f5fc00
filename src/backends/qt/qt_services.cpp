// SPDX-License-Identifier: MIT
#include "backends/qt/qt_services.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QStandardPaths>
#include <QThread>
#include <QUrl>

#include <cstdlib>

#include "backends/posix/program_folders.h"
#include "backends/posix/regular_file.h"
#include "backends/posix/whole_file_writer.h"
#include "backends/qt/control_widgets.h"

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
#endif

namespace pelmora {

namespace {

QString ToQt(const std::string& path) { return QString::fromStdString(path); }

// Some program owns the clipboard (on X11, the CLIPBOARD selection); false where Qt runs
// without an X server, which has no other owner than this program.
bool ClipboardOwned() {
#if QT_CONFIG(xcb)
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection) return false;
    static constexpr char kName[] = "CLIPBOARD";
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, sizeof kName - 1, kName), nullptr);
    if (!atom) return false;
    const xcb_atom_t selection = atom->atom;
    std::free(atom);
    if (selection == XCB_ATOM_NONE) return false;
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, selection), nullptr);
    const bool owned = owner && owner->owner != XCB_NONE;
    std::free(owner);
    return owned;
#else
    return false;
#endif
}

}  // namespace

void QtClipboard::Clear() { QGuiApplication::clipboard()->clear(QClipboard::Clipboard); }

void QtClipboard::SetText(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(text), QClipboard::Clipboard);
}

void QtClipboard::SetPicture(const Surface& picture) {
    // Qt offers it to other programs in the image formats they ask for (PNG, BMP …).
    const QRect whole(0, 0, picture.Width(), picture.Height());
    QGuiApplication::clipboard()->setImage(ConvertPart(picture, whole, false), QClipboard::Clipboard);
}

std::optional<std::string> QtClipboard::Text() {
    // The formats come first, in one request to the owner. When it offers no text (only a
    // picture) nothing more is asked; when it never answers (a hung program) Qt gives up
    // after its timeout once. QClipboard::text() and QMimeData::hasText() would each ask
    // again for every format they look for, waiting that timeout each time.
    // Qt decodes the text to UTF-16, so invalid UTF-8 arrives with replacement characters
    // and leaves as valid UTF-8.
    // An owner that offers no format at all did not answer in time: the read failed.
    const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    const QStringList formats = data ? data->formats() : QStringList();
    if (formats.isEmpty() && ClipboardOwned()) return std::nullopt;
    if (!formats.contains(QStringLiteral("text/plain"))) return std::string();
    return data->text().toStdString();
}

std::optional<Surface> QtClipboard::Picture() {
    // Qt reads whatever image format the owner offers (image/png, image/bmp …), once.
    const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    if (!data || !data->hasImage()) return std::nullopt;
    const QImage image = qvariant_cast<QImage>(data->imageData());
    if (image.isNull()) return std::nullopt;
    return ToSurface(image);
}

void QtMessagePump::ProcessPendingEvents() {
    if (beforeProcessing) beforeProcessing();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtMessagePump::Sleep(int milliseconds) { QThread::msleep(static_cast<unsigned long>(milliseconds)); }

void QtShell::Open(const std::string& link) { QDesktopServices::openUrl(QUrl(QString::fromStdString(link))); }

// The folders and probes are pelmora-cli's too (backends/posix/program_folders.h), so that
// both programs find the same settings file.
std::string QtFileSystem::ExecutableDirectory() { return ExecutableFolder(); }

char QtFileSystem::Separator() { return QDir::separator().toLatin1(); }

// Unix has no hidden mark; a leading dot is only a naming habit.
bool QtFileSystem::FileExists(const std::string& path) { return RegularFileAt(path); }

FileStart QtFileSystem::ReadFileStart(const std::string& path, std::uint64_t maxBytes) {
    return ReadRegularFileStart(path, maxBytes);
}

std::optional<std::string> QtFileSystem::ReadFile(const std::string& path) {
    QFile file(ToQt(path));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return bytes.toStdString();
}

bool QtFileSystem::WriteFileWhole(const std::string& path, const std::string& bytes) {
    // The same writer as pelmora-cli's: the bytes take the target's name only once they
    // are all on the disk, and nothing else is left in the folder.
    return !ReplaceFileWhole(path, bytes);
}

bool QtFileSystem::EntryExists(const std::string& path) { return QFileInfo::exists(ToQt(path)); }

bool QtFileSystem::CreateFolder(const std::string& path) {
    // mkdir makes the last level only; a missing parent fails.
    return QDir().mkdir(ToQt(path));
}

bool QtFileSystem::DirectoryWritable(const std::string& path) { return FolderTakesNewFiles(path); }

bool QtFileSystem::FileReadOnly(const std::string& path) { return RegularFileRefusesWrites(path); }

bool QtFileSystem::InstalledForAllUsers() { return InstalledUnderPrefix(ExecutableFolder()); }

std::string QtFileSystem::UserConfigDirectory() {
    std::string folder = UserConfigFolder();
    QDir().mkpath(ToQt(folder));
    return folder;
}

std::string QtFileSystem::UserPicturesDirectory() {
    // The XDG pictures folder where the user has one, else the home folder. Qt names
    // ~/Pictures even where it does not exist, and the snapshot page makes only the last
    // level of its folder.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
    return QDir::toNativeSeparators(folder).toStdString();
}

std::string QtDialogs::BrowseForFolder(const std::string& title) {
    const QString folder =
        QFileDialog::getExistingDirectory(QApplication::activeWindow(), QString::fromStdString(title));
    return QDir::toNativeSeparators(folder).toStdString();
}

std::string QtDialogs::ChooseFileToOpen(const std::string& title, const std::string& filter) {
    const QString file = QFileDialog::getOpenFileName(QApplication::activeWindow(), QString::fromStdString(title),
                                                      QString(), QString::fromStdString(filter));
    return QDir::toNativeSeparators(file).toStdString();
}

std::string QtDialogs::ChooseFileToSave(const std::string& title, const std::string& filter) {
    const QString file =
        QFileDialog::getSaveFileName(QApplication::activeWindow(), QString::fromStdString(title), QString(),
                                     QString::fromStdString(filter), nullptr, QFileDialog::DontConfirmOverwrite);
    return QDir::toNativeSeparators(file).toStdString();
}

void QtDialogs::ShowMessage(const std::string& text) {
    QMessageBox::information(QApplication::activeWindow(), QStringLiteral("Pelmora"), QString::fromStdString(text));
}

bool QtDialogs::ShowNotice(const std::string& text, const std::string& checkBoxCaption) {
    QMessageBox box(QMessageBox::Information, QStringLiteral("Pelmora"), QString::fromStdString(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    auto* checkBox = new QCheckBox(QString::fromStdString(checkBoxCaption));  // the box owns it
    box.setCheckBox(checkBox);
    box.exec();
    return checkBox->isChecked();
}

}  // namespace pelmora
