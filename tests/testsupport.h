// Helpers shared by the tests: temporary folders, fresh copies of the blank
// templates, and file snapshots.
#pragma once
#include <gtest/gtest.h>

#include <QObject>

#include <cstdint>
#include <functional>
#include <string>

#include "platform/messages.h"
#include "platform/sqlstore.h"

namespace vmtest {

std::string MakeTempDir(const std::string& stem);
// A fresh copy of a blank template in a new temporary folder.
std::string FreshCalendar();
std::string FreshSettings();
// Runs `copy` in a child process, which stops once `stopAt` bytes are
// written by a file's copy and is killed there; 0 lets it finish. Returns
// once it is gone.
void RunCopyKilledAt(std::uintmax_t stopAt, const std::function<void()>& copy);
std::string ReadAll(const std::string& path);
void WriteAll(const std::string& path, const std::string& bytes);
// A colour JPEG of the size at `path` (one colour: quick to write, yet as
// large to decode as any photo of that size).
void WritePhoto(const std::string& path, int width, int height);
// What a shell command writes to its standard output.
std::string RunCommand(const std::string& command);
// A full disk for one connection: no page beyond those its file has now
// (true), or room again (false).
void FillDisk(vm::db::Database& connection, bool full = true);

// A full disk for every file this process writes while it lives: no file
// grows past `bytes`, and a write that would fails (it does not stop the
// process).
class DiskFullAfter {
public:
    explicit DiskFullAfter(unsigned long long bytes);
    ~DiskFullAfter();
    DiskFullAfter(const DiskFullAfter&) = delete;
    DiskFullAfter& operator=(const DiskFullAfter&) = delete;

private:
    unsigned long long savedSoft_ = 0;
    void (*savedSignal_)(int) = nullptr;
};

// A named child of a window; a test failure when there is none.
template <class T>
T* Child(const QObject* parent, const QString& name) {
    T* c = parent->findChild<T*>(name);
    EXPECT_NE(c, nullptr) << name.toStdString();
    return c;
}

// Installs a recording message fake for the test's lifetime, resets the
// shared state, and restores the data folder setting afterwards.
class Fixture {
public:
    Fixture();
    ~Fixture();
    vm::FakeMessages messages;

private:
    std::string savedDataDir_;
};

}  // namespace vmtest
