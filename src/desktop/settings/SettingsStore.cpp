#include "desktop/settings/SettingsStore.h"

#include <array>
#include <filesystem>
#include <string_view>

#include "desktop/settings/QtText.h"

namespace zefa::desktop {

namespace {

// The top-level values, in the order they are read and written.
constexpr std::string_view kTheme = "Theme";
constexpr std::string_view kOutfile = "Outfile";
constexpr std::string_view kLogfile = "Logfile";
constexpr std::string_view kVersion = "ZefaVersion";
constexpr std::string_view kDetectVersion = "DetectVersion";
constexpr std::string_view kRecentGroup = "Recent File List";
// The store's organisation and application, as the platform names them.
constexpr std::string_view kStoreOrganisation = "Zefa Stats";
constexpr std::string_view kStoreApplication = "Zefa Stats 2";

QString awardKey(std::int32_t i) { return QStringLiteral("Award%1").arg(i); }
QString recentKey(std::size_t i) { return QStringLiteral("File%1").arg(i + 1); }

std::string readPath(const QSettings& store, const QString& key) {
    const QVariant value = store.value(key);
    if (value.typeId() != QMetaType::QString) return {};
    return pathBytes(value.toString());
}

void writePath(QSettings& store, const QString& key, const std::string& path) {
    store.setValue(key, qPath(path));
}

// A text store holds numbers as decimal text, the registry as numbers. Text
// beyond 32 bits is not a number (QVariant::toInt would cut it short).
std::int32_t readNumber(const QSettings& store, const QString& key, std::int32_t fallback) {
    const QVariant value = store.value(key);
    bool isNumber = value.typeId() == QMetaType::Int;
    if (isNumber) return value.toInt();
    const int number = value.typeId() == QMetaType::QString ? value.toString().toInt(&isNumber) : 0;
    return isNumber ? number : fallback;
}

// A text store holds "true" or "false", the registry a number.
bool readFlag(const QSettings& store, const QString& key, bool fallback) {
    const QVariant value = store.value(key);
    if (value.typeId() == QMetaType::Bool || value.typeId() == QMetaType::Int)
        return value.toBool();
    const QString text = value.typeId() == QMetaType::QString ? value.toString() : QString();
    if (text == QStringLiteral("true")) return true;
    if (text == QStringLiteral("false")) return false;
    return fallback;
}

std::unique_ptr<QSettings> openStore() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       qText(kStoreOrganisation), qText(kStoreApplication));
}

}  // namespace

GenerationSettings LoadSettings(const QSettings& store) {
    GenerationSettings settings;
    if (store.status() != QSettings::NoError) return settings;
    settings.themeFile = readPath(store, qText(kTheme));
    settings.outFile = readPath(store, qText(kOutfile));
    settings.logFile = readPath(store, qText(kLogfile));
    settings.gameVersion = readNumber(store, qText(kVersion), settings.gameVersion);
    // Versions that knew no detection stored only the version, which then
    // stays in use; a new user starts with detection.
    settings.detectVersion =
        readFlag(store, qText(kDetectVersion), !store.contains(qText(kVersion)));
    for (std::int32_t i = 0; i < kAwardCount; ++i) {
        std::int32_t& flag = settings.awardSelected[static_cast<std::size_t>(i)];
        flag = readNumber(store, awardKey(i), flag);
    }
    return settings;
}

void SaveSettings(const GenerationSettings& settings, QSettings& store) {
    writePath(store, qText(kTheme), settings.themeFile);
    writePath(store, qText(kOutfile), settings.outFile);
    writePath(store, qText(kLogfile), settings.logFile);
    store.setValue(qText(kVersion), settings.gameVersion);
    store.setValue(qText(kDetectVersion), settings.detectVersion);
    for (std::int32_t i = 0; i < kAwardCount; ++i)
        store.setValue(awardKey(i), settings.awardSelected[static_cast<std::size_t>(i)]);
}

RecentFileList loadRecentFiles(QSettings& store) {
    std::vector<std::string> entries;
    if (store.status() != QSettings::NoError) return RecentFileList(entries);
    store.beginGroup(qText(kRecentGroup));
    for (std::size_t i = 0; i < RecentFileList::kMaxEntries; ++i)
        entries.push_back(readPath(store, recentKey(i)));
    store.endGroup();
    return RecentFileList(entries);
}

void saveRecentFiles(const RecentFileList& files, QSettings& store) {
    store.beginGroup(qText(kRecentGroup));
    store.remove(QString());  // the group's old entries
    for (std::size_t i = 0; i < files.entries().size(); ++i)
        writePath(store, recentKey(i), files.entries()[i]);
    store.endGroup();
}

SettingsStore::SettingsStore() : m_store(openStore()) {
    m_store->allKeys();  // the file is parsed at the first access, which sets the status
    if (m_store->status() != QSettings::FormatError) return;
    const std::string fileName = pathBytes(m_store->fileName());
    const std::string aside = fileName + ".damaged";
    m_store.reset();
    std::error_code error;
    std::filesystem::rename(fileName, aside, error);
    m_openProblem = error ? "the settings in " + fileName +
                                " are damaged and could not be moved aside: " + error.message()
                          : "the settings in " + fileName + " were damaged; they are kept as " +
                                aside + " and the defaults are used";
    m_store = openStore();
}

std::optional<std::string> SettingsStore::write(const GenerationSettings& settings,
                                                const RecentFileList& recentFiles) {
    // Writing a damaged store would drop the lines it could not parse.
    if (m_store->status() == QSettings::FormatError)
        return "the damaged settings in " + pathBytes(m_store->fileName()) + " were not replaced";
    SaveSettings(settings, *m_store);
    saveRecentFiles(recentFiles, *m_store);
    m_store->sync();
    if (m_store->status() == QSettings::NoError) return std::nullopt;
    return "the settings could not be written to " + pathBytes(m_store->fileName());
}

}  // namespace zefa::desktop
