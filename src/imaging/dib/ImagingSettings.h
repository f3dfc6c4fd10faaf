#pragma once

#include <QString>

namespace kv::imaging {

// The folder of the imaging libraries' settings files ("imgtwain.ini",
// "img_anno.ini"): $KAVORIMETAS_IMAGING_SETTINGS when set, else "kavorimetas"
// in the user's configuration folder. The program and the libraries both ask
// here, so they always agree.
QString imagingSettingsFolder();
QString twainSettingsFile(); // <folder>/imgtwain.ini
QString annotationSettingsFile(); // <folder>/img_anno.ini

} // namespace kv::imaging

#include <QList>
#include <utility>

namespace kv::imaging {

// The settings files are plain INI text ("[Imaging Twain]", "App Name=...");
// names compare without regard to case and are written as they are given.
QString iniValue(const QString& file, const QString& section, const QString& key);
QList<std::pair<QString, QString>> iniSection(const QString& file, const QString& section);
// Replaces or adds the line, keeping the rest of the file; the file is
// written whole beside the old one and renamed over it. False on failure.
bool writeIniValue(const QString& file, const QString& section, const QString& key, const QString& value);

} // namespace kv::imaging
