// SPDX-License-Identifier: GPL-3.0-or-later
// Work directories stored in Shift-JIS reach the file system under their real names.
#include <gtest/gtest.h>

#include "records/storage_fixture.h"

namespace zemo::testing {
namespace {

class WorkDirTest : public StorageTest {};

TEST_F(WorkDirTest, AJapaneseDirectoryIsResolvedAndCreatedUnderItsOwnName) {
    setField(ws.control.paths[kPathSys], sj("システム"));
    setField(ws.control.paths[kPathLib], sj("/ライブラリ"));
    EXPECT_EQ(workDir(ws, kPathSys), (dir.path() / "システム").string() + "/");
    EXPECT_EQ(kindDir(ws, 1), (dir.path() / "システム").string() + "/");
    EXPECT_EQ(kindDir(ws, 11), "/ライブラリ/");

    setField(ws.control.paths[kPathLib], "CD_MD");
    prompter.answers = {Answer::Ok, Answer::Ok, Answer::Ok, Answer::Ok};
    EXPECT_EQ(checkDataDirs(ws), 0);
    EXPECT_TRUE(fs::is_directory(dir.path() / "システム"));
    EXPECT_EQ(texts().front(), "データディレクトリがありません。作成します。\n" + (dir.path() / "システム").string() + "/");
}

}  // namespace
}  // namespace zemo::testing
