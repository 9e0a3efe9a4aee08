#include "ui/fileiconprovider.h"

#include <QFileInfo>

QIcon TFileIconProvider::icon(IconType type) const {
    return QFileIconProvider::icon(type);
}

QIcon TFileIconProvider::icon(const QFileInfo& info) const {
    if (info.isDir()) return icon(Folder);
    if (!info.isFile()) return icon(File);
    return QIcon::fromTheme(TypeByName(info).iconName(), icon(File));
}

// Folders, links and special files Qt describes from their kind alone; only plain files would
// be read.
QString TFileIconProvider::type(const QFileInfo& info) const {
    if (!info.isFile()) return QFileIconProvider::type(info);
    const QMimeType mime = TypeByName(info);
    return mime.comment().isEmpty() ? mime.name() : mime.comment();
}

QMimeType TFileIconProvider::TypeByName(const QFileInfo& info) const {
    return Mimes.mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
}
