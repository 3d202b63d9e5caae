#pragma once

#include "script/InteractivePort.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace Orbisong {

// Shows a script window on the firing thread while the script thread waits for the routines
// the window asks for and runs them there, nested in the script, as they come. The firing
// thread never waits for a routine, so the window and the player stay responsive.
class ScriptFormRelay : public ScriptFormHandler
{
public:
    using Post = std::function<void(std::function<void()>)>;

    // `post` runs a call on the firing thread later, without waiting for it.
    explicit ScriptFormRelay(Post post) : m_post(std::move(post)) {}

    // Called on the script thread; returns when the window is closed.
    int show(InteractivePort &windows, ScriptForm &form, ScriptFormHandler &routines);

    // Called by the window on the firing thread.
    void shown() override;
    void clicked(int id) override;

private:
    using Task = std::function<void(ScriptFormHandler &)>;

    void put(Task task);

    Post m_post;
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::deque<Task> m_tasks;
    bool m_closed = false;
};

} // namespace Orbisong
