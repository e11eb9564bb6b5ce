#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <string>

namespace morvane {

// The project's short strings (the description, the comments, the five file names and the
// room names) are single-byte text: each byte is one Latin-1 character and back, so a text
// read from a project goes back into it byte for byte. A character beyond Latin-1 cannot be
// stored: a text with one is refused (unstorableTextMessage) before it reaches the document.
inline QString fromDocumentText(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string toDocumentText(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// The characters of a text that single-byte text cannot hold (beyond Latin-1), each once, in
// the order they first come, separated by blanks; empty when the whole text can be stored.
inline QString unstorableCharacters(const QString& text) {
    QList<uint> found;
    for (const uint c : text.toUcs4()) {
        if (c > 0xFF && !found.contains(c)) {
            found << c;
        }
    }
    QStringList shown;
    for (const uint c : found) {
        const char32_t one = c;
        shown << QString::fromUcs4(&one, 1);
    }
    return shown.join(' ');
}

// The refusal of a text the project cannot store, naming what it is ("The room name") and the
// characters; empty when it can be stored.
inline QString unstorableTextMessage(const QString& what, const QString& text) {
    const QString characters = unstorableCharacters(text);
    if (characters.isEmpty()) {
        return {};
    }
    return QString("%1 \"%2\" cannot be stored in the project file: it holds characters beyond "
                   "Latin-1 (%3). Use letters of Western European languages only.")
        .arg(what, text, characters);
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
