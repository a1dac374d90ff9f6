#pragma once
// File and folder names between the windows and the core. The core takes
// them as UTF-8 on every system, with the system's own separators;
// QFile::encodeName would give the 8-bit code page on Windows, in which the
// Chinese folder names players use cannot be written at all.

#include <QDir>
#include <QRegularExpression>
#include <QString>

#include <string>

namespace zelmar {

inline std::string coreFileName(const QString& name)
{
    return QDir::toNativeSeparators(name).toStdString();
}

inline QString qtFileName(const std::string& name)
{
    return QString::fromStdString(name);
}

// A word of a command line as the system's shell reads it back: in single
// quotes for a POSIX shell; in double quotes for the Windows command prompt
// and PowerShell, where a file name cannot hold one.
inline QString shellWord(const std::string& word)
{
    const QString w = QString::fromStdString(word);
    static const QRegularExpression plain("^[A-Za-z0-9_./:=,+-]+$");
    if (plain.match(w).hasMatch())
        return w;
#ifdef Q_OS_WIN
    return '"' + w + '"';
#else
    return '\'' + QString(w).replace('\'', "'\\''") + '\'';
#endif
}

} // namespace zelmar
