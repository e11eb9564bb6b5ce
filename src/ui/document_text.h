#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <string>

namespace morvane {

// The project's short strings (the description, the comments, the five file names and the
// room names) are single-byte text: each byte is one Latin-1 character and back, so a text
// read from a project goes back into it byte for byte. A character beyond Latin-1 cannot be
// stored and becomes '?'.
inline QString fromDocumentText(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string toDocumentText(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// A path as the file system names it (the local encoding, UTF-8 on Linux), for the files the
// editor opens and writes; a file name kept in the project is read back through
// fromDocumentText first.
inline std::string localPath(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

inline QString fromLocalPath(const std::string& path) {
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

} // namespace morvane
