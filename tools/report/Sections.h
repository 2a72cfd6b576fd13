#pragma once
// The sections of the report; each reads what it needs and writes its part of
// the report's JSON. A section whose table cannot be read is left empty (the
// notes say why).
#include "Ledger.h"
#include "ReportContext.h"
#include "Tally.h"

namespace report {

// Balances walked through the logs: circulation over time and the unexplained changes.
// The same pass over each log fills the tally of the period for the other sections.
LedgerResult ReadLedger(const ReportContext& context, Tally& tally);
// A row's server id (in that column) is the chosen one, or no server was chosen.
bool OnServer(const ReportContext& context, const Row& row, unsigned column);
void WriteCirculation(const ReportContext& context, const LedgerResult& ledger);

// Points earned and spent per day by source and sink, and the rows out of range.
void WriteFlows(const ReportContext& context, const LedgerResult& ledger, const Tally& tally);
// Packets bought, their points, the top ones and those nobody bought; items sold; redeems.
void WritePackets(const ReportContext& context, const Tally& tally);
// Held packets by packet and age.
void WriteHeld(const ReportContext& context);
// Balances, top earners and spenders, unexplained balances, repeated sales.
void WritePlayers(const ReportContext& context, const LedgerResult& ledger, const Tally& tally);
// Admin grants and sets.
void WriteAdmin(const ReportContext& context);
// Per game server.
void WriteServers(const ReportContext& context, const Tally& tally);
// Character names of the players the report lists.
void WriteNames(const ReportContext& context);

}  // namespace report
