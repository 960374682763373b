#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "parser/ClassifierCache.h"
#include "season/SeasonStore.h"
#include "server/Upload.h"
#include "server/UploadAnswer.h"

namespace zefa::server {

// The one writer of the store: uploads are read and stored one at a time, in
// the order they came, on a thread of its own, so that the requests waiting
// for it keep no other request waiting. Each upload is answered once its
// match is committed to the store (or it was refused).
class ImportWriter {
public:
    using Answered = std::function<void(const UploadAnswer&)>;

    // `stored` is called after each upload that changed the store.
    ImportWriter(season::SeasonStore store, std::size_t maxQueued, std::function<void()> stored);
    // Stores what is queued, then ends.
    ~ImportWriter();
    ImportWriter(const ImportWriter&) = delete;
    ImportWriter& operator=(const ImportWriter&) = delete;

    // Queues the upload; false (and `answered` never called) when the queue
    // is full. `answered` is called on the writer's thread.
    bool submit(Upload upload, Answered answered);

private:
    struct Job {
        Upload upload;
        Answered answered;
    };
    void work();
    [[nodiscard]] UploadAnswer store(const Upload& upload, bool& changed);

    season::SeasonStore m_store;
    std::size_t m_maxQueued;
    std::function<void()> m_stored;
    ClassifierCache m_classifiers;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Job> m_queue;
    bool m_ending = false;
    std::thread m_thread;  // last: starts when everything else is there
};

}  // namespace zefa::server
