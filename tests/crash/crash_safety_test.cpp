// Kills a real process with SIGKILL at random moments while it replaces the
// favourites (also a file holding lines only kept, not loaded), the
// catalogue export, the video page or imports a registry script, and checks
// after every kill that nothing on disk is half written.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <thread>

#include "crash_contents.h"
#include "registry/cls_registry_access.h"
#include "registry/registry_store.h"
#include "support/sqlite_integrity.h"
#include "support/temp_dir.h"
#include "util/files.h"

namespace cd::crash {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kKillsPerKind = 100;
// Five kinds share about a minute; a slow machine (or a sanitizer build)
// makes fewer kills rather than a longer test.
constexpr auto kBudgetPerKind = std::chrono::seconds(12);
constexpr int kFewestKills = 25;
constexpr int kMaxDelayMicros = 20'000;

// The writer process; killed and reaped on every path out of a test.
class Writer {
public:
    Writer(Kind kind, const fs::path& folder) {
        int fds[2];
        if (::pipe(fds) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(fds[1], STDOUT_FILENO);
            ::close(fds[0]);
            ::close(fds[1]);
            const std::string name(kindName(kind));
            ::execl(CD_CRASH_WRITER, CD_CRASH_WRITER, name.c_str(), folder.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        ready_ = fds[0];
    }
    ~Writer() {
        kill();
        if (ready_ >= 0) ::close(ready_);
    }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    /// True once the writer has finished its first write (within 10 s).
    bool waitReady() {
        if (pid_ <= 0 || ready_ < 0) return false;
        pollfd p{ready_, POLLIN, 0};
        if (::poll(&p, 1, 10'000) != 1) return false;
        char c = 0;
        return ::read(ready_, &c, 1) == 1 && c == 'R';
    }
    /// SIGKILL and reap; true when the writer was still running until then.
    bool kill() {
        if (pid_ <= 0) return false;
        ::kill(pid_, SIGKILL);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    }

private:
    pid_t pid_ = -1;
    int ready_ = -1;
};

struct Tally {
    int kills = 0;
    int sawOld = 0;     // A (or, for the registry, values of A only)
    int sawNew = 0;     // B, the writer's first write (for the registry: any value of B)
    int leftovers = 0;  // temporary files a kill left behind (for the registry: keys holding a mix)
};

// Temporary files a killed encryptAndSaveButton left beside target; removed so the next
// round starts clean.
int removeLeftovers(const fs::path& target) {
    const std::string prefix = "." + target.filename().string() + ".tmp";
    int n = 0;
    for (const auto& entry : fs::directory_iterator(target.parent_path())) {
        if (entry.path().filename().string().rfind(prefix, 0) != 0) continue;
        fs::remove(entry.path());
        ++n;
    }
    return n;
}

// A whole A or a whole B, nothing else.
void checkFile(Kind kind, const fs::path& folder, const std::string& a, const std::string& b, Tally& tally) {
    const fs::path target = targetOf(kind, folder);
    const auto bytes = util::readFile(target);
    ASSERT_TRUE(bytes.has_value()) << target << " is gone after kill " << tally.kills;
    const bool isA = *bytes == a;
    const bool isB = *bytes == b;
    ASSERT_TRUE(isA || isB) << target << " is neither whole old nor whole new after kill " << tally.kills << ": "
                            << bytes->size() << " bytes (A " << a.size() << ", B " << b.size() << ")";
    tally.sawOld += isA;
    tally.sawNew += isB;
    tally.leftovers += removeLeftovers(target);
}

// The store opens and is sound, and every value in it is whole: exactly as
// script A or script B wrote it. A key may hold values of both scripts,
// since an import applies line by line.
void checkRegistry(const fs::path& folder, Tally& tally) {
    const fs::path storeFolder = targetOf(Kind::RegistryImport, folder);
    registry::RegistryStore store(storeFolder);
    ASSERT_EQ(test::integrityOf(store.fileFor("HKCU")), "ok") << "after kill " << tally.kills;
    registry::ClsRegistryAccess access(store);
    std::vector<std::string> subkeys;
    ASSERT_GE(access.EnumKeys("HKCU\\Software\\CrashTest", subkeys), 0);
    bool anyNew = false;
    bool mixed = false;
    for (const auto& key : regKeys()) {
        const std::string path = "HKCU\\" + key;
        ASSERT_TRUE(access.KeyExists(path)) << path << " lost after kill " << tally.kills;
        const auto a = regValues(key, 0);
        const auto b = regValues(key, 1);
        std::vector<std::string> names;
        std::vector<registry::RegistryVariant> values;
        ASSERT_EQ(access.EnumValues(path, names, values, -1), static_cast<std::int32_t>(a.size()));
        int fromA = 0, fromB = 0;
        for (const auto& name : names) {
            ASSERT_TRUE(a.count(name)) << "unexpected value " << name << " in " << path;
            const auto stored = access.QueryValue(path, name);
            ASSERT_TRUE(stored.has_value()) << path << "\\" << name;
            EXPECT_EQ(stored->type, registry::kRegString);
            const bool isA = stored->data == a.at(name);
            const bool isB = stored->data == b.at(name);
            ASSERT_TRUE(isA || isB) << path << "\\" << name << " is not whole after kill " << tally.kills << ": "
                                    << stored->data.size() << " bytes";
            fromA += isA;
            fromB += isB;
        }
        anyNew = anyNew || fromB > 0;
        mixed = mixed || (fromA > 0 && fromB > 0);
    }
    (anyNew ? tally.sawNew : tally.sawOld) += 1;
    tally.leftovers += mixed;
}

class CrashSafety : public ::testing::TestWithParam<Kind> {
protected:
    void SetUp() override {
        const Kind kind = GetParam();
        if (kind == Kind::RegistryImport) {
            for (int v : {0, 1}) ASSERT_TRUE(util::writeFileAtomic(regFile(dir.path(), v), regText(v)));
            registry::RegistryStore store(targetOf(kind, dir.path()));
            registry::ClsRegistryAccess access(store);
            ASSERT_EQ(access.ImportFromReg(regFile(dir.path(), 0).string()), 1) << access.lastError();
        } else {
            a = expectedBytes(kind, 0);
            b = expectedBytes(kind, 1);
            ASSERT_NE(a, b);
            ASSERT_TRUE(util::writeFileAtomic(targetOf(kind, dir.path()), a));
        }
    }

    test::TempDir dir;
    std::string a, b;
};

// Catches a encryptAndSaveButton, export, page write or import that a crash can leave half
// done: a truncated or mixed file, a lost file, a damaged store or a value
// cut short.
TEST_P(CrashSafety, KilledWriterLeavesOnlyWholeFiles) {
    const Kind kind = GetParam();
    const unsigned seed = std::random_device{}();
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> delay(0, kMaxDelayMicros);
    SCOPED_TRACE("random seed " + std::to_string(seed));

    Tally tally;
    const auto start = Clock::now();
    while (tally.kills < kKillsPerKind && Clock::now() - start < kBudgetPerKind) {
        {
            Writer writer(kind, dir.path());
            ASSERT_TRUE(writer.waitReady()) << "crash_writer did not start";
            std::this_thread::sleep_for(std::chrono::microseconds(delay(rng)));
            ASSERT_TRUE(writer.kill()) << "crash_writer stopped on its own (see its message above)";
        }
        ++tally.kills;
        if (kind == Kind::RegistryImport)
            checkRegistry(dir.path(), tally);
        else
            checkFile(kind, dir.path(), a, b, tally);
        if (HasFatalFailure()) return;
    }

    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("[ figures  ] %s: %d kills in %.1f s; old %d, new %d; %s %d\n", std::string(kindName(kind)).c_str(),
                tally.kills, seconds, tally.sawOld, tally.sawNew,
                kind == Kind::RegistryImport ? "rounds ending with keys of both scripts" : "temporary files left",
                tally.leftovers);
    RecordProperty("kills", tally.kills);
    EXPECT_GE(tally.kills, kFewestKills);
    // Kills that only ever found the seeded file would prove nothing.
    EXPECT_GT(tally.sawNew, 0) << "the writer never finished a write before it was killed";
}

INSTANTIATE_TEST_SUITE_P(EveryKind, CrashSafety,
                         ::testing::Values(Kind::Favourites, Kind::FavouritesKept, Kind::CatalogueExport,
                                           Kind::VideoPage, Kind::RegistryImport),
                         [](const ::testing::TestParamInfo<Kind>& param) {
                             return std::string(kindName(param.param));
                         });

}  // namespace
}  // namespace cd::crash
