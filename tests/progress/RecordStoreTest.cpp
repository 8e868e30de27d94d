#include "progress/RecordStore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <cerrno>
#include <csignal>
#include <unistd.h>

#include "progress/AtomicFile.h"
#include "tests/support/TestFiles.h"

using namespace common::progress;
using namespace testsupport;
namespace fs = std::filesystem;

namespace {

CourseRecord recordOf(double time, int samples = 3) {
    CourseRecord record;
    record.bestTime = time;
    record.bestScore = 350;
    record.splits = {{0, time / 3}, {2, time / 2}, {1, time}};
    for (int i = 0; i < samples; ++i) {
        record.ghost.record(i * 0.1, glm::mat4(1.0f));
    }
    return record;
}

// A store on a records file in a temporary data folder, with its warnings kept.
struct Records {
    TempDir home;
    fs::path file = home.path() / "skyrings" / "records.json";
    std::vector<std::string> warnings;

    RecordStore open() {
        RecordStore store(file, [this](const std::string& line) { warnings.push_back(line); });
        store.load();
        return store;
    }
    fs::path bad() const { return fs::path(file.string() + ".bad"); }
    // Whether another holder has the lock that writers take.
    bool locked() const {
        const int fd = ::open((file.string() + ".lock").c_str(), O_RDWR | O_CLOEXEC);
        const bool held = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
        ::close(fd);
        return held;
    }
};

}  // namespace

TEST(RecordStore, LivesUnderXdgDataHomeOrTheHomeFolder) {
    EXPECT_EQ(RecordStore::pathFor("/data", "/home/p"), fs::path("/data/skyrings/records.json"));
    EXPECT_EQ(RecordStore::pathFor("", "/home/p"), fs::path("/home/p/.local/share/skyrings/records.json"));
    EXPECT_EQ(RecordStore::pathFor(nullptr, "/home/p"),
              fs::path("/home/p/.local/share/skyrings/records.json"));
    EXPECT_EQ(RecordStore::pathFor(nullptr, nullptr), fs::path());
}

// A record written into a missing folder reads back whole; fields the game does not know, in the
// file and in a course, survive the rewrite; nothing is warned about and nothing is left aside.
TEST(RecordStore, RoundTripMakesTheFolderAndKeepsUnknownFields) {
    Records records;
    ASSERT_TRUE(records.open().save("mountain", recordOf(61.5)));
    const std::string written = readFile(records.file);
    EXPECT_NE(written.find("\"version\":1"), std::string::npos);

    std::string edited = written;
    edited.insert(1, "\"theme\":\"dusk\",");
    edited.replace(edited.find("\"bestScore\""), 0, "\"note\":[1,2],");
    records.home.write("skyrings/records.json", edited);
    RecordStore store = records.open();
    ASSERT_TRUE(store.save("lagoon", recordOf(30.0, 1)));

    const auto mountain = records.open().course("mountain");
    ASSERT_TRUE(mountain);
    EXPECT_EQ(mountain->bestTime, 61.5);
    EXPECT_EQ(mountain->bestScore, 350);
    ASSERT_EQ(mountain->splits.size(), 3u);
    EXPECT_EQ(mountain->splits[2].ring, 1);
    EXPECT_EQ(mountain->ghost.samples().size(), 3u);
    EXPECT_EQ(records.open().course("lagoon")->bestTime, 30.0);
    const std::string rewritten = readFile(records.file);
    EXPECT_NE(rewritten.find("\"theme\":\"dusk\""), std::string::npos);
    EXPECT_NE(rewritten.find("\"note\":[1,2]"), std::string::npos);
    EXPECT_TRUE(records.warnings.empty());
    EXPECT_FALSE(fs::exists(records.bad()));
}

// Each bad file: what the game keeps of it, the one line it prints, and what is on disk once a new
// record has replaced it (the new file reads back clean; the bad one is kept aside as it was).
TEST(RecordStore, BadFilesCostOnlyTheirBadPartsAndAreKeptAside) {
    // A file holding only the mountain's record, with a best time of 50 and `fields`.
    const auto mountain = [](const std::string& fields) {
        return R"({"version":1,"courses":{"mountain":{"bestTime":50)" + fields + "}}}";
    };
    const struct {
        const char* name;
        std::string contents;  // empty: a folder stands in the file's place
        double keptTime;       // 0: no record kept
        std::size_t keptSamples;
        const char* warning;
    } rows[] = {
        {"not JSON", "{\"version\":1,\"courses\":{", 0, 0, "not a JSON object"},
        {"JSON but no object", "[1,2]", 0, 0, "not a JSON object"},
        {"time of the wrong type", R"({"version":1,"courses":{"mountain":{"bestTime":"fast"}}})", 0, 0,
         "no usable best time"},
        {"negative time", R"({"version":1,"courses":{"mountain":{"bestTime":-4}}})", 0, 0,
         "no usable best time"},
        {"absurd time", R"({"version":1,"courses":{"mountain":{"bestTime":1e300}}})", 0, 0,
         "no usable best time"},
        {"courses not an object", R"({"version":1,"courses":7})", 0, 0, "\"courses\" is not an object"},
        {"no version",
         R"({"courses":{"mountain":{"bestTime":50,"ghost":[[0,0,0,0,1,0,0,0],[0.1,1,0,0,1,0,0,0]]}}})", 50, 2,
         "no usable version"},
        {"negative score", mountain(R"(,"bestScore":-3)"), 50, 0, "bad best score"},
        {"split after the best time", mountain(R"(,"splits":[[0,60]])"), 50, 0, "bad splits"},
        {"ghost out of order", mountain(R"(,"ghost":[[1,0,0,0,1,0,0,0],[0.5,0,0,0,1,0,0,0]])"), 50, 0,
         "bad ghost"},
        {"ghost with a zero rotation", mountain(R"(,"ghost":[[0,0,0,0,0,0,0,0]])"), 50, 0, "bad ghost"},
        {"ghost not finite", mountain(R"(,"ghost":[[0,1e300,0,0,1,0,0,0]])"), 50, 0, "bad ghost"},
        {"folder in the file's place", "", 0, 0, "a folder stands where the file should be"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Records records;
        if (row.contents.empty()) {
            fs::create_directories(records.file / "inside");
        } else {
            records.home.write("skyrings/records.json", row.contents);
        }
        RecordStore store = records.open();
        ASSERT_EQ(records.warnings.size(), 1u);
        EXPECT_NE(records.warnings[0].find(row.warning), std::string::npos) << records.warnings[0];
        EXPECT_NE(records.warnings[0].find(records.file.string()), std::string::npos);
        const auto kept = store.course("mountain");
        EXPECT_EQ(kept ? kept->bestTime : 0.0, row.keptTime);
        EXPECT_EQ(kept ? kept->ghost.samples().size() : 0u, row.keptSamples);

        ASSERT_TRUE(store.save("lagoon", recordOf(20.0)));
        EXPECT_EQ(records.warnings.size(), 1u);  // the save finds the same file: nothing more to tell
        records.warnings.clear();
        RecordStore reread = records.open();
        EXPECT_TRUE(records.warnings.empty()) << records.warnings[0];
        EXPECT_EQ(reread.course("lagoon")->bestTime, 20.0);
        EXPECT_EQ(reread.course("mountain") ? reread.course("mountain")->bestTime : 0.0, row.keptTime);
        if (row.contents.empty()) {
            EXPECT_TRUE(fs::exists(records.bad() / "inside"));
        } else {
            EXPECT_EQ(readFile(records.bad()), row.contents);
        }
    }
}

// A folder that cannot be made and a disk that fills up cost the save, never the old file: one line,
// the record kept for the session, no temporary left behind. A crash after the new file is written but
// before it is renamed leaves the old record whole, and the leftover does not stop the next save.
TEST(RecordStore, UnwritableFolderFullDiskAndACrashBeforeTheRenameKeepTheOldFile) {
    {
        Records unwritable;
        unwritable.file = "/proc/self/skyrings/records.json";
        RecordStore store = unwritable.open();
        EXPECT_FALSE(store.save("mountain", recordOf(50.0)));
        ASSERT_EQ(unwritable.warnings.size(), 1u);
        EXPECT_NE(unwritable.warnings[0].find("/proc/self/skyrings"), std::string::npos);
        EXPECT_EQ(store.course("mountain")->bestTime, 50.0);
    }
    Records records;
    ASSERT_TRUE(records.open().save("mountain", recordOf(50.0)));
    const std::string before = readFile(records.file);
    const fs::path leftover = AtomicFile::writeTemporary(records.file, R"({"version":1,"courses":{"mount)");
    EXPECT_EQ(leftover.parent_path(), records.file.parent_path());

    RecordStore store = records.open();
    EXPECT_EQ(readFile(records.file), before);
    EXPECT_EQ(store.course("mountain")->bestTime, 50.0);
    EXPECT_TRUE(records.warnings.empty());
    ASSERT_TRUE(store.save("mountain", recordOf(45.0)));
    EXPECT_EQ(records.open().course("mountain")->bestTime, 45.0);
    EXPECT_FALSE(fs::exists(leftover));

    // A file-size limit stands in for the full disk: writes past it fail as on a full one.
    const std::string saved45 = readFile(records.file);
    struct rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 64;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool saved40 = store.save("mountain", recordOf(40.0, 200));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(saved40);
    ASSERT_EQ(records.warnings.size(), 1u);
    EXPECT_NE(records.warnings[0].find("records.json.tmp"), std::string::npos) << records.warnings[0];
    EXPECT_EQ(readFile(records.file), saved45);
    EXPECT_EQ(std::distance(fs::directory_iterator(records.file.parent_path()), {}), 2);  // file and lock
    EXPECT_EQ(store.course("mountain")->bestTime, 40.0);
}

// Two games on one file, each having read it before the other wrote: both keep their bests, and of one
// course's two runs the faster stays, whichever finishes last. A game of an older version, which writes
// a temporary of a fixed name and takes no lock, does not have its temporary written into. A file that
// turned bad after it was read is told about (with the lock held) and kept aside, not lost.
TEST(RecordStore, TwoGamesAtOnceKeepEachOthersBests) {
    Records records;
    const fs::path older = records.home.write("skyrings/records.json.tmp", "an older game's half");
    RecordStore first = records.open();
    RecordStore second = records.open();
    ASSERT_TRUE(first.save("mountain", recordOf(50.0)));
    ASSERT_TRUE(second.save("lagoon", recordOf(30.0)));
    ASSERT_TRUE(second.save("mountain", recordOf(55.0)));
    EXPECT_EQ(second.course("mountain")->bestTime, 50.0);
    ASSERT_TRUE(first.save("mountain", recordOf(45.0)));
    RecordStore reread = records.open();
    EXPECT_EQ(reread.course("mountain")->bestTime, 45.0);
    EXPECT_EQ(reread.course("lagoon")->bestTime, 30.0);
    EXPECT_EQ(readFile(older), "an older game's half");

    bool lockedWhileTold = false;
    RecordStore third(records.file, [&](const std::string& line) {
        records.warnings.push_back(line);
        lockedWhileTold = records.locked();
    });
    third.load();
    records.home.write("skyrings/records.json", "[1,2]");
    ASSERT_TRUE(third.save("mountain", recordOf(40.0)));
    ASSERT_EQ(records.warnings.size(), 1u);
    EXPECT_NE(records.warnings[0].find("not a JSON object"), std::string::npos) << records.warnings[0];
    EXPECT_TRUE(lockedWhileTold);
    EXPECT_FALSE(records.locked());
    EXPECT_EQ(readFile(records.bad()), "[1,2]");
    EXPECT_EQ(records.open().course("mountain")->bestTime, 40.0);
}
