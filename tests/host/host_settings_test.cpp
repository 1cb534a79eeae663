// Settings and style files through the host's exported functions, on real files.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "host/host_api.h"
#include "tolvane/host_state.h"
#include "tolvane/text_file.h"

namespace {

class HostFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    folder_ = std::string(dir) + "tolvane-host-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder_.c_str(), nullptr);
    file_ = folder_ + "\\test.rc";
  }
  void TearDown() override {
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((folder_ + "\\*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        const std::string path = folder_ + "\\" + found.cFileName;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);  // a read-only one too
        DeleteFileA(path.c_str());
      } while (FindNextFileA(h, &found));
      FindClose(h);
    }
    RemoveDirectoryA(folder_.c_str());
  }
  void put(const std::string& text) { ASSERT_TRUE(saveTextFileAtomically(file_, text)); }
  std::string contents() {
    std::string text;
    EXPECT_TRUE(loadTextFile(file_, &text));
    return text;
  }
  int filesInFolder() {
    int n = 0;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((folder_ + "\\*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return 0;
    do n += !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    while (FindNextFileA(h, &found));
    FindClose(h);
    return n;
  }
  std::string folder_, file_;
};

}  // namespace

TEST_F(HostFiles, ReadsGiveValuesOrTheCallersDefaults) {
  put("# style\r\nKvSlider.Slider1.X: -40\r\nkvslider.slider1.alwaysontop: FALSE\r\n"
      "toolbar.color: #336699\r\nkvslider.slider1.mixer.line 4294901760\r\n"
      "bad.int: 12px\r\nbad.bool: maybe\r\nbad.color: blue\r\n");
  const char* f = file_.c_str();
  EXPECT_EQ(ReadInt(f, "kvslider.slider1.x:", 10), -40);
  EXPECT_EQ(ReadInt(f, "kvslider.slider1.y:", 10), 10);
  EXPECT_EQ(ReadInt(f, "bad.int:", 7), 7);
  EXPECT_FALSE(ReadBool(f, "kvslider.slider1.alwaysontop:", true));
  EXPECT_TRUE(ReadBool(f, "bad.bool:", true));
  EXPECT_EQ(ReadColor(f, "toolbar.color:", "#000000"), RGB(0x33, 0x66, 0x99));
  EXPECT_EQ(ReadColor(f, "bad.color:", "#102030"), RGB(0x10, 0x20, 0x30));
  EXPECT_EQ(ReadColor(f, "missing:", "nonsense"), 0u);
  EXPECT_STREQ(ReadString(f, "kvslider.slider1.mixer.line", "0"), "4294901760");
  EXPECT_STREQ(ReadString(f, "kvslider.slider1.mixer.line:", "0"), "4294901760");
  const std::string missing = folder_ + "\\none.rc";
  EXPECT_EQ(ReadInt(missing.c_str(), "kvslider.slider1.x:", 10), 10);
  EXPECT_STREQ(ReadString(missing.c_str(), "k", "default text"), "default text");
  EXPECT_STREQ(ReadString(nullptr, nullptr, nullptr), "");
}

TEST_F(HostFiles, ReturnedTextStaysValidUntilTheNextCall) {
  put("a: first\nb: second\n");
  const char* a = ReadString(file_.c_str(), "a", "");
  EXPECT_EQ(ReadInt(file_.c_str(), "zzz", 3), 3);  // not a text call
  EXPECT_STREQ(a, "first");
}

TEST_F(HostFiles, WritesReplaceInPlaceKeepCommentsAndAppend) {
  put("# keep me\r\nkvslider.slider1.x: 10\r\n\r\nKVSLIDER.SLIDER1.MIXER.DEVICE 0\r\n");
  const char* f = file_.c_str();
  EXPECT_TRUE(WriteInt(f, "kvslider.slider1.x:", -3));
  EXPECT_TRUE(WriteString(f, "kvslider.slider1.mixer.device", "2"));
  EXPECT_TRUE(WriteBool(f, "kvslider.slider1.draggable:", false));
  EXPECT_EQ(contents(),
            "# keep me\r\nkvslider.slider1.x: -3\r\n\r\nKVSLIDER.SLIDER1.MIXER.DEVICE: 2\r\n"
            "kvslider.slider1.draggable: false\r\n");
  EXPECT_FALSE(ReadBool(f, "KvSlider.Slider1.Draggable", true));
  EXPECT_EQ(filesInFolder(), 1);  // no temporary left behind
}

TEST_F(HostFiles, WriteCreatesAMissingFile) {
  EXPECT_TRUE(WriteInt(file_.c_str(), "kvslider.slider1.alpha:", 50));
  EXPECT_EQ(ReadInt(file_.c_str(), "kvslider.slider1.alpha:", 100), 50);
  EXPECT_FALSE(WriteInt((folder_ + "\\no\\such\\dir.rc").c_str(), "a", 1));
  EXPECT_FALSE(WriteInt(file_.c_str(), ":", 1));
  EXPECT_FALSE(WriteInt(nullptr, "a", 1));
}

TEST_F(HostFiles, AFailedWriteLeavesTheOldFileWhole) {
  put("a: 1\nb: 2\n");
  // Another program holds the file without sharing: the replace cannot happen.
  HANDLE held = CreateFileA(file_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(WriteInt(file_.c_str(), "a", 5));
  CloseHandle(held);
  EXPECT_EQ(contents(), "a: 1\nb: 2\n");
  EXPECT_EQ(filesInFolder(), 1);
}

TEST_F(HostFiles, AReadOnlyFileIsLeftAloneAndOtherAttributesSurviveAWrite) {
  put("a: 1\n");
  const char* f = file_.c_str();
  ASSERT_TRUE(SetFileAttributesA(f, FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(WriteInt(f, "a", 5));
  EXPECT_NE(GetFileAttributesA(f) & FILE_ATTRIBUTE_READONLY, 0u);
  EXPECT_EQ(contents(), "a: 1\n");
  EXPECT_EQ(filesInFolder(), 1);
  ASSERT_TRUE(SetFileAttributesA(f, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  EXPECT_TRUE(WriteInt(f, "a", 6));
  EXPECT_EQ(contents(), "a: 6\n");
  EXPECT_EQ(GetFileAttributesA(f) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
            DWORD(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  EXPECT_EQ(filesInFolder(), 1);
}

TEST_F(HostFiles, FileExistsAndHostPath) {
  put("x: 1\n");
  EXPECT_TRUE(FileExists(file_.c_str()));
  EXPECT_FALSE(FileExists(folder_.c_str()));  // a folder is no file
  EXPECT_FALSE(FileExists((folder_ + "\\KvSliderrc").c_str()));
  EXPECT_FALSE(FileExists(nullptr));
  EXPECT_FALSE(FileExists(""));

  hostState().exeDir = "C:\\Shell\\";
  char buffer[260];
  EXPECT_TRUE(GetTolvanePath(buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "C:\\Shell\\");
  char small[9] = "xxxxxxxx";
  EXPECT_FALSE(GetTolvanePath(small, sizeof small));  // 9 characters do not fit in 9 bytes
  EXPECT_STREQ(small, "");
  EXPECT_FALSE(GetTolvanePath(nullptr, 260));
}

TEST_F(HostFiles, StylePathFollowsTheStyleSetting) {
  hostState().exeDir = "C:\\Shell\\";
  setStyle("styles\\meadow.style", false);
  EXPECT_STREQ(stylePath(nullptr), "C:\\Shell\\styles\\meadow.style");
  setStyle("D:\\elsewhere.style", false);
  EXPECT_STREQ(stylePath(nullptr), "D:\\elsewhere.style");
}
