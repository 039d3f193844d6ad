#include "working_thread.h"

#include <utility>

#include "upsampling_job.h"

WorkingThread::WorkingThread(QByteArray imagePath, const RunParameters& parameters,
                             std::shared_ptr<JobProgress> progress)
    : m_imagePath(std::move(imagePath)), m_parameters(parameters), m_progress(std::move(progress))
{
}

WorkingThread::~WorkingThread()
{
    cancel();
    wait();
}

void WorkingThread::run()
{
    m_done.store(false, std::memory_order_relaxed);
    const JobOutcome outcome =
        runUpsamplingJob(m_imagePath.toStdString(), m_parameters, m_progress.get(), &m_cancel);
    m_result = outcome.result;
    m_runningTime = outcome.runningTime;
    m_errorMessage = QString::fromStdString(outcome.error);
    m_cancelled = outcome.cancelled;
    m_done.store(true, std::memory_order_release);
}
