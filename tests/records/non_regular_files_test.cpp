// SPDX-License-Identifier: GPL-3.0-or-later
// Something other than a regular file in the place of one of the program's files (a FIFO, a
// folder) is refused at once by every reader; none of them waits for a writer that never comes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "platform/regular_file.h"
#include "records/data_ops.h"
#include "records/storage_fixture.h"
#include "records/window_settings.h"
#include "support/cli_run.h"

namespace zemo::testing {
namespace {

// While it lives, anything that opened the FIFO at path for reading and waits for a writer is let
// go (it then reads an empty file), so that a reader that would wait makes the test fail instead of
// hanging it.
class FifoReleaser {
public:
    explicit FifoReleaser(std::string path)
        : path_(std::move(path)), thread_([this] {
              while (!stop_) {
                  const int fd = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                  if (fd >= 0) ::close(fd);
                  std::this_thread::sleep_for(std::chrono::milliseconds(20));
              }
          }) {}
    ~FifoReleaser() {
        stop_ = true;
        thread_.join();
    }

private:
    std::string path_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

enum class Thing { Fifo, Folder };

void put(Thing thing, const std::string& path) {
    if (thing == Thing::Fifo) {
        ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    } else {
        fs::create_directories(path);
    }
}

TEST(ReadRegularFile, OpensOnlyRegularFilesAndSaysWhatElseWasThere) {
    TempDir dir{"zemo-regular"};
    const std::string file = dir.str("file"), fifo = dir.str("fifo"), folder = dir.str("folder");
    writeBytes(file, Bytes{'a', 'b', 'c', 'd'});
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_directory(folder);
    FifoReleaser release(fifo);

    std::string bytes;
    struct stat st{};
    ASSERT_TRUE(readRegularFile(file, bytes, 3, &st));
    EXPECT_EQ(bytes, "abc");  // never more than the limit
    EXPECT_EQ(st.st_size, 4);
    ASSERT_TRUE(readRegularFile(file, bytes, 100));
    EXPECT_EQ(bytes, "abcd");

    const struct {
        std::string path;
        int err;
    } refused[] = {{fifo, kNotRegularFile}, {folder, EISDIR}, {"/dev/null", kNotRegularFile},
                   {dir.str("missing"), ENOENT}};
    for (const auto& c : refused) {
        SCOPED_TRACE(c.path);
        errno = 0;
        EXPECT_FALSE(readRegularFile(c.path, bytes, 100));
        EXPECT_EQ(errno, c.err);
        EXPECT_FALSE(openRegularForReading(c.path).isOpen());
    }
    // A descriptor handed out blocks as usual: the open's own no-wait flag is gone.
    ReadFile opened = openRegularForReading(file);
    ASSERT_TRUE(opened.isOpen());
    EXPECT_EQ(::fcntl(opened.fd(), F_GETFL) & O_NONBLOCK, 0);
}

class NonRegularFiles : public StorageTest, public ::testing::WithParamInterface<Thing> {
protected:
    NonRegularFiles() { makeDataDirs(); }

    // Runs the reader with thing in the place of path: refused with a box naming the file.
    void expectRefused(const std::string& path, const std::function<int()>& reader) {
        put(GetParam(), path);
        FifoReleaser release(path);
        EXPECT_NE(reader(), 0);
        ASSERT_FALSE(prompter.boxes.empty());
        EXPECT_NE(prompter.boxes.front().text.find(path), std::string::npos) << prompter.boxes.front().text;
    }
};

TEST_P(NonRegularFiles, WindowSettingsAreRefusedNamedAndTheDefaultsUsed) {
    WindowSettings settings;
    settings.positions["Main"].left = 123;  // the load must replace it by the default
    expectRefused(windowSettingsPath(ws), [&] { return loadWindowSettings(ws, settings, 1024, 768); });
    EXPECT_EQ(lastText(), windowSettingsPath(ws) + "\nファイルエラー！\n通常のファイルではありません");
    EXPECT_EQ(settings, WindowSettings{});
}

TEST_P(NonRegularFiles, ControlFileIsRefused) {
    const SysControl before = ws.control;
    expectRefused(controlFilePath(ws), [&] { return loadControl(ws, false); });
    EXPECT_EQ(std::memcmp(&before, &ws.control, sizeof before), 0);  // the record in memory as it was
}

TEST_P(NonRegularFiles, DataFileAndItsHeadAreRefused) {
    const std::string path = defaultFilePath(ws, kKindCatalogue);
    int loaded = 0, count = 0;
    expectRefused(path, [&] {
        return readCode(readDataFile(ws, "", kKindCatalogue, ws.arrays[kKindCatalogue], loaded, count,
                                     ws.capacity(kKindCatalogue)));
    });
    EXPECT_EQ(loaded, 0);
    DataFileHeader header{};
    EXPECT_NE(readHeader(ws, path, false, header), DataFileRead::Ok);
    DataFileInfo info{};
    EXPECT_NE(readInfo(ws, path, false, info), DataFileRead::Ok);
}

INSTANTIATE_TEST_SUITE_P(Things, NonRegularFiles, ::testing::Values(Thing::Fifo, Thing::Folder),
                         [](const auto& testCase) { return testCase.param == Thing::Fifo ? "Fifo" : "Folder"; });

// The label printout reads its font from the settings file: a FIFO there is named and the label
// is printed in the default font.
TEST(NonRegularSettingsFile, LabelPdfGoesOnWithTheDefaultFont) {
    TempDir dir{"zemo-fifo-ini"};
    const fs::path home = dir.path() / "home";
    ASSERT_EQ(testsupport::runZemo(dir.path(), {"init", "--home", home.string()}).status, 0);
    const std::string csv = dir.str("cds.csv");
    std::ofstream(csv) << "barcode,title,timeSec\n4988000000001,Summer,1500\n4988000000002,Winter,1400\n";
    const std::string list = dir.str("list.ZMO");
    ASSERT_EQ(testsupport::runZemo(dir.path(), {"import", csv, "-o", list, "--kind", "2", "--home", home.string()})
                  .status,
              0);
    const std::string ini = (home / "WZEMO.INI").string();
    fs::remove(ini);
    ASSERT_EQ(::mkfifo(ini.c_str(), 0600), 0);
    const std::string pdf = dir.str("label.pdf");
    testsupport::CliResult r;
    {
        FifoReleaser release(ini);
        r = testsupport::runZemo(dir.path(), {"label", list, "--pdf", pdf, "--home", home.string()});
    }
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("WZEMO.INI"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("通常のファイルではありません"), std::string::npos) << r.err;
    EXPECT_TRUE(fs::is_regular_file(pdf));
    EXPECT_TRUE(fs::is_fifo(ini));  // left as it was
}

}  // namespace
}  // namespace zemo::testing
