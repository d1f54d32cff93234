#include <gtest/gtest.h>

#include <QCoreApplication>

#include <algorithm>
#include <QKeyEvent>

#include "platform/sqlstore.h"
#include "platform/steps.h"
#include "testsupport.h"

namespace {

TEST(Operation, OkGoesOnWithTheNextStepAndCancelLeaves) {
    vmtest::Fixture fx;
    std::vector<int> ran;
    vm::Operation op("Sample_Error", " @Error Point: ");
    fx.messages.answers = {vm::MsgResult::Ok, vm::MsgResult::Cancel};
    EXPECT_TRUE(op.step(1, [&] { throw vm::OpError(13, "Type mismatch"); }));
    EXPECT_TRUE(op.step(2, [&] { ran.push_back(2); }));
    EXPECT_FALSE(op.step(3, [&] { throw vm::db::DbError(19, "constraint failed"); }));
    EXPECT_FALSE(op.step(4, [&] { ran.push_back(4); }));
    EXPECT_EQ(ran, std::vector<int>{2});
    ASSERT_EQ(fx.messages.shown.size(), 2u);
    EXPECT_EQ(fx.messages.shown[0].title, "Sample_Error");
    EXPECT_EQ(fx.messages.shown[0].text, "13 - Type mismatch\r\n @Error Point: 1");
    EXPECT_EQ(fx.messages.shown[0].buttons, vm::MsgButtons::OkCancel);
    EXPECT_EQ(fx.messages.shown[0].icon, vm::MsgIcon::None);
    EXPECT_EQ(fx.messages.shown[1].text, "19 - constraint failed\r\n @Error Point: 3");
}

TEST(Operation, ToleratedErrorsPassOverOrEndSilently) {
    vmtest::Fixture fx;
    vm::Operation op("Quiet_Error");
    op.onError([](int n) { return n == 3704 ? vm::OnError::Next : n == 91 ? vm::OnError::End : vm::OnError::Message; });
    EXPECT_TRUE(op.step(1, [] { throw vm::OpError(3704, "closed"); }));
    EXPECT_FALSE(op.step(2, [] { throw vm::OpError(91, "not set"); }));
    EXPECT_TRUE(op.ended());
    EXPECT_TRUE(fx.messages.shown.empty());
}

// Only the engine's failures to write a file read as such; the old
// program's own numbers (13 is its "Type mismatch") never do.
TEST(Operation, WriteFailuresAreToldPlainlyByTheirEngineCode) {
    const std::string full = "/data/Velmoras.mdb";
    const struct { std::exception_ptr failure; const char* text; } cases[] = {
        {std::make_exception_ptr(vm::db::DbError(13, "database or disk is full", full)),
         "The disk is full: Velmoras.mdb was not changed"},
        {std::make_exception_ptr(vm::db::DbError(8, "attempt to write a readonly database", full)),
         "The file may only be read: Velmoras.mdb was not changed"},
        {std::make_exception_ptr(vm::db::DbError(1032, "readonly (moved)", "")),
         "Another program replaced or moved the file while it was open: it was not changed. Try again"},
        {std::make_exception_ptr(vm::db::DbError(778, "disk I/O error", full)),
         "The disk could not be written: Velmoras.mdb was not changed"},
        {std::make_exception_ptr(vm::db::DbError(266, "disk I/O error", full)), ""},  // a read
        {std::make_exception_ptr(vm::db::DbError(vm::db::kReadOnly, "cannot be updated", full)), ""},
        {std::make_exception_ptr(vm::db::DbError(19, "constraint failed", full)), ""},
        {std::make_exception_ptr(vm::OpError(13, "Type mismatch")), ""},
    };
    for (const auto& c : cases) EXPECT_EQ(vm::WriteFailureText(c.failure), c.text);
}

// A file the engine finds damaged half-way through a read is named in the
// box, with what to do; other failures read as before.
TEST(Operation, ADamagedFileIsNamedWithWhatToDo) {
    const std::string path = vmtest::MakeTempDir("velmora-damaged") + "/Velmoras.mdb";
    {
        auto d = vm::db::Database::Create(path);
        d->exec("CREATE TABLE [t] ([v] TEXT)");
        d->exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000) "
                "INSERT INTO [t] SELECT printf('%0200d', i) FROM n");
    }
    std::string bytes = vmtest::ReadAll(path);
    ASSERT_GT(bytes.size(), 20u * 4096);
    std::fill(bytes.begin() + 10 * 4096, bytes.begin() + 11 * 4096, '\0');  // a page of rows gone
    vmtest::WriteAll(path, bytes);
    std::exception_ptr failure;
    try {
        auto d = vm::db::Database::Open(path);
        auto st = d->prepare("SELECT count(*), sum(length([v])) FROM [t]");
        st.step();
    } catch (const vm::db::DbError&) {
        failure = std::current_exception();
    }
    ASSERT_TRUE(failure) << "the engine reads the damaged page";
    const std::string text = vm::DescribeError(failure).second;
    EXPECT_NE(text.find("\"" + path + "\" is damaged"), std::string::npos) << text;
    EXPECT_NE(text.find("put back the last good copy"), std::string::npos) << text;
    EXPECT_EQ(vm::DescribeError(std::make_exception_ptr(vm::db::DbError(19, "constraint failed", path))).second,
              "constraint failed");
    // A file another program holds just now is said as such, with what to do.
    EXPECT_EQ(vm::DescribeError(std::make_exception_ptr(vm::db::DbError(5, "database is locked", path))).second,
              "database is locked: \"" + path + "\" is in use by another program just now. Try again in a moment.");
}

// A step that writes goes on after a failure and says it once per command,
// in plain words; a succeeding step says nothing.
TEST(WriteStep, AFailedWriteIsSaidOncePerCommandInPlainWords) {
    const std::string file = "/data/Velmoras.mdb";
    const struct {
        std::exception_ptr first, second;  // null: the step succeeds
        const char* text;                  // the one box, or "" for none
    } cases[] = {
        {nullptr, nullptr, ""},
        {std::make_exception_ptr(vm::db::DbError(13, "database or disk is full", file)), nullptr,
         "The disk is full: Velmoras.mdb was not changed"},
        {std::make_exception_ptr(vm::db::DbError(19, "constraint failed", file)),
         std::make_exception_ptr(vm::OpError(13, "Type mismatch")), "The month colours could not be saved: constraint failed"},
    };
    for (const auto& c : cases) {
        vmtest::Fixture fx;
        std::vector<bool> done;
        for (const auto& failure : {c.first, c.second})
            done.push_back(vm::WriteStep("The month colours", [&] {
                if (failure) std::rethrow_exception(failure);
            }));
        EXPECT_EQ(done, (std::vector<bool>{!c.first, !c.second})) << c.text;
        if (!*c.text) {
            EXPECT_TRUE(fx.messages.shown.empty());
            continue;
        }
        ASSERT_EQ(fx.messages.shown.size(), 1u) << c.text;
        EXPECT_EQ(fx.messages.shown[0].text, c.text);
        EXPECT_EQ(fx.messages.shown[0].buttons, vm::MsgButtons::Ok);
        // The user's next key press is the next command.
        QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
        QCoreApplication::sendEvent(QCoreApplication::instance(), &key);
    }
}

}  // namespace
