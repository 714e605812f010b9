// The writer's thread at its end: what waits is carried out before the
// writer goes, and a thread that does not come back in time does not hold
// up the writer's owner.
#include "recovery/RecoveryWriter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <memory>

namespace zuno {
namespace {

using namespace std::chrono_literals;

TEST(RecoveryWriter, CarriesOutWhatWaitsBeforeItGoes)
{
    QTemporaryDir dir;
    RecoveryStore store(dir.path());
    {
        RecoveryWriter writer(store, nullptr);
        RecoveryData data;
        data.text = "AC:1";
        writer.write(data);
    }
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("*.zrec")}, QDir::Files).size(), 1);
}

TEST(RecoveryWriter, AThreadThatDoesNotComeBackInTimeDoesNotHoldUpTheEnd)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    // A folder that cannot be made (its parent is a file): every write fails.
    RecoveryStore store(dir.filePath(QStringLiteral("file/recovery")));
    // The failure is reported by a callback that does not return until let
    // go: the thread stands for one stuck on a hung file system.
    std::promise<void> letGo;
    auto inCallback = std::make_shared<std::atomic<bool>>(false);
    QElapsedTimer ending;
    {
        RecoveryWriter writer(
            store,
            [inCallback, released = letGo.get_future().share()](const QString &) {
                *inCallback = true;
                released.wait_for(10s);
            },
            200ms);
        writer.write(RecoveryData{});
        ASSERT_TRUE(QTest::qWaitFor([&] { return inCallback->load(); }, 5000));
        ending.start();
    }
    EXPECT_LT(ending.elapsed(), 2000);
    letGo.set_value();
}

} // namespace
} // namespace zuno
