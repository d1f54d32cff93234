#include "platform/steps.h"

#include <sqlite3.h>

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <filesystem>

#include "platform/messages.h"
#include "platform/sqlstore.h"

namespace vm {

Operation::Operation(std::string title, std::string pointLabel)
    : title_(std::move(title)), pointLabel_(std::move(pointLabel)) {}

Operation& Operation::onError(std::function<OnError(int)> policy) {
    policy_ = std::move(policy);
    return *this;
}

std::pair<int, std::string> DescribeError(std::exception_ptr e) {
    try {
        std::rethrow_exception(e);
    } catch (const db::DbError& x) {
        // The engine finding a damaged file: which file, and what to do. (The
        // layer's own verdicts, "not a Velmora database file" and the like,
        // name the file already.)
        if (x.number() < db::kNoFile && db::IsDamagedFileError(x.number()) && !x.file().empty())
            return {x.number(), "\"" + x.file() + "\" is damaged (" + x.what() +
                                    "). Keep a copy of it as it is, and put back the last good copy of it."};
        // Another program (or another copy of this one) holding the file just now.
        if (x.number() < db::kNoFile && db::IsInUseError(x.number()))
            return {x.number(), std::string(x.what()) + ": " +
                                    (x.file().empty() ? std::string("the file") : "\"" + x.file() + "\"") +
                                    " is in use by another program just now. Try again in a moment."};
        return {x.number(), x.what()};
    } catch (const OpError& x) {
        return {x.number(), x.what()};
    } catch (const std::bad_alloc&) {
        return {7, "Out of memory"};
    } catch (const std::exception& x) {
        return {5, x.what()};
    } catch (...) {
        return {5, "Unknown failure"};
    }
}

namespace {

bool g_writeFailureShown = false;

// Forgets the shown write failure at the user's next key press or click
// (the next command), then goes.
class NextCommandWatch : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::KeyPress:
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
            case QEvent::Wheel:
                g_writeFailureShown = false;
                QCoreApplication::instance()->removeEventFilter(this);
                deleteLater();
                break;
            default: break;
        }
        return QObject::eventFilter(watched, event);
    }
};

std::string FileName(const std::string& path) {
    const std::string name = std::filesystem::path(path).filename().string();
    return name.empty() ? "the file" : name;
}

}  // namespace

std::string ReadOnlyFileText(const std::string& path) {
    return "The file may only be read: " + FileName(path) + " was not changed";
}

std::string WriteFailureText(std::exception_ptr e) {
    try {
        std::rethrow_exception(e);
    } catch (const db::DbError& x) {
        const int n = x.number();
        if (n <= 0 || n >= 9000) return "";  // the layer's own codes are no engine failures
        const std::string file = FileName(x.file());
        switch (n & 0xFF) {
            case SQLITE_FULL: return "The disk is full: " + file + " was not changed";
            case SQLITE_READONLY:
                // The file was replaced or moved under the connection: the
                // next command opens it again.
                if (n == SQLITE_READONLY_DBMOVED)
                    return "Another program replaced or moved " + file + " while it was open: it was not changed. "
                           "Try again";
                return ReadOnlyFileText(x.file());
            case SQLITE_IOERR:
                if (n == SQLITE_IOERR_WRITE || n == SQLITE_IOERR_FSYNC || n == SQLITE_IOERR_DIR_FSYNC ||
                    n == SQLITE_IOERR_TRUNCATE)
                    return "The disk could not be written: " + file + " was not changed";
                return "";
            default: return "";
        }
    } catch (...) {
        return "";
    }
}

void ShowWriteFailure(const std::string& text) {
    QCoreApplication* app = QCoreApplication::instance();
    if (g_writeFailureShown && app) return;
    g_writeFailureShown = true;
    Messages().message(text, MsgButtons::Ok, MsgIcon::Exclamation, "File Not Changed");
    // Installed after the box has closed, so the click on its OK is no new command.
    if (app) app->installEventFilter(new NextCommandWatch);
}

bool ShowPlainWriteFailure(std::exception_ptr e) {
    const std::string text = WriteFailureText(e);
    if (text.empty()) return false;
    ShowWriteFailure(text);
    return true;
}

void ReportWriteFailure(const std::string& what, std::exception_ptr e) {
    std::string text = WriteFailureText(e);
    if (text.empty()) text = what + " could not be saved: " + DescribeError(e).second;
    ShowWriteFailure(text);
}

bool Operation::handle(std::exception_ptr e) {
    const auto [number, description] = DescribeError(e);
    lastError_ = number;
    if (const std::string failed = WriteFailureText(e); !failed.empty()) {
        ended_ = true;
        if (standing_) {
            if (standing_->said == failed) return false;
            standing_->said = failed;
        }
        ShowWriteFailure(failed);
        return false;
    }
    const OnError action = policy_ ? policy_(number) : OnError::Message;
    if (action == OnError::Next) return true;
    if (action == OnError::End) {
        ended_ = true;
        return false;
    }
    std::string text = numberPrefix_ + std::to_string(number) + " - " + description;
    if (!pointLabel_.empty()) text += (pointNewLine_ ? "\r\n" : "") + pointLabel_ + std::to_string(iErPt);
    if (Messages().message(text, MsgButtons::OkCancel, MsgIcon::None, title_) == MsgResult::Cancel) {
        ended_ = true;
        return false;
    }
    return true;
}

}  // namespace vm
