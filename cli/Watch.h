#pragma once

#include "ops/OpResult.h"

#include <QJsonObject>
#include <QString>
#include <functional>

class TBoard;
class TCliSession;
struct TCliArguments;

// One reading of a command that samples the board: both forms of what it reported.
struct TCliSample
{
    QJsonObject Data;
    QString Text; // lines, each ending in "\n"
};

using TSampleReader = std::function<TOpResult(TBoard& board, TCliSample& sample)>;

/// Runs a command that reads one sample: once, or with --watch MS a sample each MS
/// milliseconds, each with its time, until Ctrl-C (130) or a failed read (its status after
/// failureText). As the panels poll: the next read starts only after the last one ended,
/// and never sooner than MS after the last one started.
int RunSampled(TCliSession& session, const TCliArguments& args, const TSampleReader& read,
               const QString& failureText);
