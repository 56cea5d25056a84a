// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The rows on their way to the shared results folder. A shared folder may
// hang (a dead network mount blocks every open, lock, write and flush) or
// refuse (full, unreachable, a planted name), and the pupil may leave at any
// moment (a logout may end the program without a word). So every row waits
// first in a queue in the pupil's own data folder, and one thread of its own
// writes the queue to the shared folder:
// - the text under way is kept there as a provisional row, not finished,
//   rewritten as the pupil works, and replaced by the final row;
// - a row leaves the queue only once it is in the pupil's file, so what
//   could not be written is written at the next chance (the next row, the
//   next start), and the provisional row of a program that ended without a
//   word is written then, as not finished;
// - a row already in the file is never written again (appendToFile()).
// Several programs of one account share the queue: each owns its entries
// while it runs (a lock file), and takes over those of programs that ended.

#include "library/resultsrow.h"

#include <functional>
#include <memory>

namespace results {

class RowQueue {
public:
    // `queueFolder`: the pupil's own folder the queue lives in (made when
    // missing); `resultsFolder` and `machine`: where the rows of this program
    // go. Starts writing at once what earlier programs left in the queue.
    RowQueue(const QString& queueFolder, const QString& resultsFolder, const QString& machine);
    // Waits for nothing: a write still hanging on a dead folder ends on its
    // own, and what is not written stays in the queue.
    ~RowQueue();
    RowQueue(const RowQueue&) = delete;
    RowQueue& operator=(const RowQueue&) = delete;

    // The results folder the rows queued from now on go to.
    void setFolder(const QString& resultsFolder);

    // The pupil's own folder for the queue: $XDG_DATA_HOME/miravellon/pendientes.
    static QString defaultFolder();

    // Keeps `row` as the provisional row of the text under way (nothing is
    // written when only its time differs from the one kept).
    void keepProvisional(const Row& row);
    // The text under way is left with nothing to record.
    void dropProvisional();
    // Queues the final row of a text (replacing the provisional one) and
    // starts writing the queue.
    void add(const Row& row);
    // Starts writing what the queue holds.
    void retry();
    // Waits at most `timeoutMs` for the writing under way to end; true when
    // nothing is being written.
    bool waitIdle(int timeoutMs);
    // The rows waiting in the queue, of every program of this account.
    int waiting() const;

    // Called, on the writing thread, each time a row cannot be written to
    // the results folder; the path and reason are already in the log.
    void onRefused(std::function<void()> callback);

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
    QByteArray provisionalKept_;
    int sequence_ = 0;
};

}  // namespace results
