#include "platform/steps.h"

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

bool Operation::handle(std::exception_ptr e) {
    const auto [number, description] = DescribeError(e);
    lastError_ = number;
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
