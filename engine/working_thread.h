#pragma once

#include <atomic>
#include <memory>

#include <QByteArray>
#include <QString>
#include <QThread>
#include <opencv2/core.hpp>

#include "cancellation.h"
#include "job_progress.h"
#include "run_parameters.h"

// Runs one upsampling job on its own thread. The GUI polls isDone() and reads
// the outcome once it is true; no signal of its own is emitted.
class WorkingThread : public QThread {
public:
    // The progress record is shared, so it stays valid for the job even when
    // its view is gone before the job ends.
    WorkingThread(QByteArray imagePath, const RunParameters& parameters, std::shared_ptr<JobProgress> progress);
    // Cancels a job still running and waits for it to end.
    ~WorkingThread() override;

    bool isDone() const { return m_done.load(std::memory_order_acquire); }
    // The following are meaningful once isDone() is true.
    float runningTime() const { return m_runningTime; }
    cv::Mat result() const { return m_result; }           // empty when the job failed
    QString errorMessage() const { return m_errorMessage; } // empty on success
    bool wasCancelled() const { return m_cancelled; }

    // Asks the job to stop at its next check; it then ends as cancelled.
    void cancel() { m_cancel.store(true, std::memory_order_relaxed); }

protected:
    void run() override;

private:
    const QByteArray m_imagePath;
    const RunParameters m_parameters;
    cv::Mat m_result;
    const std::shared_ptr<JobProgress> m_progress;
    float m_runningTime = 0.0f;
    QString m_errorMessage;
    bool m_cancelled = false;
    std::atomic<bool> m_done{false};
    CancelFlag m_cancel{false};
};
