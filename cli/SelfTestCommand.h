#pragma once

class TCliSession;
struct TCliArguments;

/// selftest: every check of the board in one run, a PASS/FAIL/SKIP row each; exit status 1
/// when a check failed.
int RunSelfTest(TCliSession& session, const TCliArguments& args);
