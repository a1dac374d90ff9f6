#pragma once
// File and folder names between the windows and the core. The core takes
// them as UTF-8 on every system, with the system's own separators;
// QFile::encodeName would give the 8-bit code page on Windows, in which the
// Chinese folder names players use cannot be written at all.

#include <QDir>
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

} // namespace zelmar
