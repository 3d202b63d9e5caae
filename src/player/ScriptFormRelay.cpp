#include "player/ScriptFormRelay.h"

namespace Orbisong {

int ScriptFormRelay::show(InteractivePort &windows, ScriptForm &form, ScriptFormHandler &routines)
{
    // The firing thread works on its own copy while the window is open.
    ScriptForm shownForm = form;
    int code = 2;
    m_post([&] {
        const int result = windows.showForm(shownForm, *this);
        std::lock_guard lock(m_mutex);
        code = result;
        m_closed = true;
        m_ready.notify_all();
    });
    for (;;) {
        Task task;
        {
            std::unique_lock lock(m_mutex);
            m_ready.wait(lock, [this] { return m_closed || !m_tasks.empty(); });
            if (m_tasks.empty())
                break;
            task = std::move(m_tasks.front());
            m_tasks.pop_front();
        }
        task(routines);
    }
    std::lock_guard lock(m_mutex);
    form = shownForm;
    return code;
}

void ScriptFormRelay::shown()
{
    put([](ScriptFormHandler &routines) { routines.shown(); });
}

void ScriptFormRelay::clicked(int id)
{
    put([id](ScriptFormHandler &routines) { routines.clicked(id); });
}

void ScriptFormRelay::put(Task task)
{
    std::lock_guard lock(m_mutex);
    m_tasks.push_back(std::move(task));
    m_ready.notify_all();
}

} // namespace Orbisong
