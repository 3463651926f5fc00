#include "platform/qt/qt_services.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QUrl>

namespace pelmora {

void QtShell::Open(const std::string& link) { QDesktopServices::openUrl(QUrl(QString::fromStdString(link))); }

std::string QtFileSystem::ExecutableDirectory() {
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString();
}

char QtFileSystem::Separator() { return QDir::separator().toLatin1(); }

}  // namespace pelmora
