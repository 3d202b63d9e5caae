#pragma once

#include "collection/Conversion.h"

#include <memory>

class QProgressDialog;
class QWidget;

namespace Orbisong {

// The "Converting Collection" window shown while the previous version's albums are converted
// at start-up. The job runs on the main thread, so the window repaints after every file.
class ConversionProgressDialog : public ConversionProgress
{
public:
    explicit ConversionProgressDialog(QWidget *parent = nullptr);
    ~ConversionProgressDialog() override;

    void begin(int files) override;
    void advance(int done) override;
    void end() override;

    // The window while the job runs; none before `begin` and after `end`.
    QProgressDialog *window() const { return m_dialog.get(); }

private:
    QWidget *m_parent;
    std::unique_ptr<QProgressDialog> m_dialog;
};

} // namespace Orbisong
