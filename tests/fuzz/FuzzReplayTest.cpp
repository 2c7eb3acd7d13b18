#include "fuzz/FuzzTargets.h"
#include "tests/common/TestSupport.h"
#include "tests/fuzz/HangWatchdog.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

// Every file a fuzz target ever found (tests/data/fuzz/TARGET/) goes again through
// that target's own entry, in the normal build and in the sanitizer build: a
// crash or a broken property ends the suite, a hang ends it after its budget.
namespace picbasket::test {
namespace {

using namespace std::chrono_literals;

#if defined(__SANITIZE_ADDRESS__)
constexpr auto hangBudget = 20s;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr auto hangBudget = 20s;
#else
constexpr auto hangBudget = 5s;
#endif
#else
constexpr auto hangBudget = 5s;
#endif

QString findingsFolder() {
    return testDataFolder() + QStringLiteral("/fuzz");
}

std::vector<std::string> targetNames() {
    std::vector<std::string> names;
    for (const fuzz::FuzzTarget& target : fuzz::fuzzTargets())
        names.emplace_back(target.name);
    return names;
}

QByteArray contents(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

class FuzzReplayCorrupt : public ::testing::TestWithParam<std::string> {};

TEST_P(FuzzReplayCorrupt, EveryFindingIsRefusedInTime) {
    const fuzz::FuzzEntry entry = fuzz::findFuzzEntry(GetParam());
    ASSERT_NE(entry, nullptr);
    const QDir folder(findingsFolder() + QLatin1Char('/') + QString::fromStdString(GetParam()));
    const QStringList files = folder.entryList(QDir::Files, QDir::Name);
    for (const QString& name : files) {
        const QString path = folder.filePath(name);
        SCOPED_TRACE(path.toStdString());
        const QByteArray bytes = contents(path);
        HangWatchdog watchdog(path.toStdString(), hangBudget);
        entry(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
    }
    std::printf("%s: %lld files replayed\n", GetParam().c_str(),
                static_cast<long long>(files.size()));
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplayCorrupt, ::testing::ValuesIn(targetNames()),
                         [](const auto& info) { return info.param; });

// A folder named after no target would never be replayed.
TEST(FuzzReplayLayoutCorrupt, EveryFindingsFolderNamesATarget) {
    const QStringList folders = QDir(findingsFolder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& name : folders)
        EXPECT_NE(fuzz::findFuzzEntry(name.toStdString()), nullptr)
            << "tests/data/fuzz/" << name.toStdString() << " names no fuzz target";
}

} // namespace
} // namespace picbasket::test
