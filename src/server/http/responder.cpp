#include "http/responder.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

namespace cd::server::http {

CompletionQueue::CompletionQueue() : wakeFd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

CompletionQueue::~CompletionQueue() {
    if (wakeFd_ >= 0) ::close(wakeFd_);
}

void CompletionQueue::post(std::uint64_t connection, Response response) {
    bool wake = false;
    {
        std::lock_guard lock(mutex_);
        wake = items_.empty() && std::this_thread::get_id() != loopThread_;
        items_.emplace_back(connection, std::move(response));
    }
    if (wake) {
        const std::uint64_t one = 1;
        // A full counter still wakes the loop; nothing to do on failure.
        [[maybe_unused]] const auto n = ::write(wakeFd_, &one, sizeof one);
    }
}

std::vector<std::pair<std::uint64_t, Response>> CompletionQueue::take() {
    std::vector<std::pair<std::uint64_t, Response>> out;
    std::lock_guard lock(mutex_);
    out.swap(items_);
    return out;
}

Responder::Responder(std::shared_ptr<CompletionQueue> queue, std::uint64_t connection)
    : state_(std::make_shared<State>()) {
    state_->queue = std::move(queue);
    state_->connection = connection;
}

void Responder::operator()(Response response) const {
    {
        std::lock_guard lock(state_->mutex);
        if (state_->answered) return;
        state_->answered = true;
    }
    state_->queue->post(state_->connection, std::move(response));
}

Responder::State::~State() {
    if (!answered) queue->post(connection, Response::text(500, "The request was not answered.\n"));
}

}  // namespace cd::server::http
