// Draws the report from the figures embedded in the page; nothing is fetched.
(function () {
  "use strict";
  const data = JSON.parse(document.getElementById("report-data").textContent);
  const names = data.names || {};
  const number = new Intl.NumberFormat("en-US");
  const fmt = (value) => (typeof value === "number" ? number.format(value) : value == null ? "" : String(value));
  const colors = { purchases: "#d1495b", sales: "#2e933c", trades: "#8d6cab", grants: "#edae49",
    sets: "#c97c10", unexplained: "#7a7f87", line: "#1f6feb" };
  const charts = [];

  function el(tag, attrs, children) {
    const node = document.createElement(tag);
    for (const [key, value] of Object.entries(attrs || {})) {
      if (key === "text") node.textContent = value; else node.setAttribute(key, value);
    }
    for (const child of children || []) node.appendChild(child);
    return node;
  }
  const section = (id) => document.getElementById(id);
  const who = (id) => (names[id] ? `${names[id]} (${id})` : id);

  function figures(id, list) {
    const box = section(id).querySelector(".figures");
    for (const [label, value] of list)
      box.appendChild(el("div", { class: "figure" }, [el("b", { text: fmt(value) }), el("span", { text: label })]));
  }

  // A table of objects; columns: [heading, key or function, css class].
  function table(id, title, rows, columns, limit) {
    const box = section(id).querySelector(".table");
    const wrap = el("div", {}, [el("h3", { text: title })]);
    if (!rows || rows.length === 0) {
      wrap.appendChild(el("p", { class: "empty", text: "none" }));
    } else {
      const head = el("tr", {}, columns.map((c) => el("th", { text: c[0] })));
      const body = (limit ? rows.slice(0, limit) : rows).map((row) => el("tr", {}, columns.map((c) => {
        const value = typeof c[1] === "function" ? c[1](row) : row[c[1]];
        return el("td", { class: c[2] || (typeof value === "number" ? "" : "text"), text: fmt(value) });
      })));
      wrap.appendChild(el("div", { class: "scroll" }, [el("table", {}, [el("thead", {}, [head]), el("tbody", {}, body)])]));
    }
    box.appendChild(wrap);
  }

  function chart(id, config) {
    const canvas = document.getElementById(id);
    config.options = Object.assign({ responsive: true, maintainAspectRatio: false, animation: false,
      interaction: { mode: "index", intersect: false },
      plugins: { legend: { position: "bottom" } } }, config.options || {});
    charts.push(new Chart(canvas, config));
  }

  function explain(id, text) { section(id).querySelector(".explain").textContent = text; }

  // ---- header ----
  const r = data.report;
  document.getElementById("period").textContent =
    `${r.since} to ${r.until} UTC (${r.days} days)` + (r.server != null ? `, server ${r.server}` : ", all servers") +
    ` — database ${r.database} on ${r.host}, tables ${r.tablePrefix}_*`;
  for (const note of data.notes || []) document.getElementById("notes").appendChild(el("li", { text: note }));
  document.getElementById("made").textContent = `tandorshop-report ${r.version}, ${r.generated} UTC, read in ${r.readSeconds.toFixed(1)} s`;

  // ---- circulation ----
  const c = data.circulation || {};
  const flows = data.flows || { days: [], totals: {} };
  const t = flows.totals || {};
  figures("circulation", [["points held by players now", c.total], ["players", c.players],
    ["players holding points", c.playersHolding],
    ["earned in the period (sales, grants)", (t.sales || 0) + (t.adminGrants || 0)],
    ["spent in the period (purchases)", t.purchases]]);
  chart("chart-circulation", { type: "line", data: { labels: (c.series || []).map((p) => p.day),
    datasets: [{ label: "points held, as the logs record them (end of day)", data: (c.series || []).map((p) => p.points),
      borderColor: colors.line, backgroundColor: "rgba(31,111,235,.12)", fill: true, pointRadius: 0 }] } });
  explain("circulation", "The line sums every player's balance as their last log row of the day records it " +
    "(a player without a row yet counts as 0). The figure above it is the balances table now. " +
    (c.unexplainedSinceLastRows != null ? `Since their last rows, balances changed by ${fmt(c.unexplainedSinceLastRows)} points that no row explains. ` : "") +
    "Balances are the network's: one table for all servers.");

  // ---- flows ----
  const days = flows.days || [];
  figures("flows", [["purchases", t.purchases], ["sales", t.sales], ["trades (volume)", t.tradeVolume],
    ["admin grants", t.adminGrants], ["admin sets (change)", t.adminSetChange], ["unexplained", t.unexplained]]);
  chart("chart-flows", { type: "bar", data: { labels: days.map((d) => d.day), datasets: [
    { label: "sales", data: days.map((d) => d.sales), backgroundColor: colors.sales, stack: "s" },
    { label: "admin grants", data: days.map((d) => d.adminGrants), backgroundColor: colors.grants, stack: "s" },
    { label: "admin sets", data: days.map((d) => d.adminSetChange), backgroundColor: colors.sets, stack: "s" },
    { label: "unexplained", data: days.map((d) => d.unexplained), backgroundColor: colors.unexplained, stack: "s" },
    { label: "purchases", data: days.map((d) => -d.purchases), backgroundColor: colors.purchases, stack: "s" },
    { label: "trades (moved between players)", data: days.map((d) => d.tradeVolume), type: "line",
      borderColor: colors.trades, pointRadius: 0 }] },
    options: { scales: { x: { stacked: true }, y: { stacked: true } } } });
  explain("flows", "Above the axis what came into balances, below what left them (purchases). Trades move points " +
    "between players and change no total; their line shows how much moved. \"Unexplained\" is what balances did " +
    "between two log rows of a player that neither row accounts for: timed rewards, grants by other plugins, admin " +
    "grants without a log text, resets (those are negative). It is computed for the whole network.");
  table("flows", "Per day", days.slice().reverse(), [["day", "day"], ["purchases", "purchases"], ["bought", "purchaseCount"],
    ["sales", "sales"], ["sold", "saleCount"], ["redeems", "redeems"], ["trades", "trades"], ["traded", "tradeVolume"],
    ["admin grants", "adminGrants"], ["admin sets", "adminSetChange"], ["unexplained", "unexplained"]]);

  // ---- packets ----
  const p = data.packets || {};
  figures("packets", [["packets bought", t.purchaseCount], ["units", t.units], ["points taken", t.purchases],
    ["packets bought by nobody", (p.unbought || []).length], ["redeems", t.redeems]]);
  chart("chart-packets-days", { type: "bar", data: { labels: days.map((d) => d.day), datasets: [
    { label: "packets bought", data: days.map((d) => d.purchaseCount), backgroundColor: colors.line, yAxisID: "y" },
    { label: "points taken", data: days.map((d) => d.purchases), type: "line", borderColor: colors.purchases,
      pointRadius: 0, yAxisID: "y1" }] },
    options: { scales: { y: { position: "left" }, y1: { position: "right", grid: { drawOnChartArea: false } } } } });
  const top = (p.bought || []).slice(0, 15);
  chart("chart-packets-top", { type: "bar", data: { labels: top.map((x) => x.packet), datasets: [
    { label: "points taken by packet (top 15)", data: top.map((x) => x.points), backgroundColor: colors.purchases }] },
    options: { indexAxis: "y" } });
  table("packets", "Packets bought", p.bought, [["packet", "packet"], ["bought", "buys"], ["units", "units"],
    ["points", "points"], ["buyers", "buyers"], ["cooldown (h)", (x) => x.cooldownHours], ["last bought", "lastBought"]]);
  table("packets", p.catalogue ? "Nobody bought (catalogue and earlier buys)" : "Nobody bought in the period (bought before)",
    p.unbought, [["packet", "packet"], ["last bought", (x) => x.lastBought || "never"], ["cooldown (h)", (x) => x.cooldownHours]]);
  table("packets", "Items sold", p.sold, [["item", "name"], ["sales", "rows"], ["units", "units"], ["points", "points"], ["players", "players"]]);
  table("packets", "Packets redeemed", p.redeemed, [["packet", "name"], ["redeems", "rows"], ["units", "units"], ["players", "players"]]);

  // ---- held ----
  const h = data.held || {};
  figures("held", [["units held", h.units], ["holdings", h.holdings], ["players holding", h.players], ["rows at 0", h.emptyRows]]);
  const held = (h.packets || []).slice(0, 15);
  const ages = [["under a day", "underADay", "#2e933c"], ["1–7 days", "underAWeek", "#8ab17d"],
    ["7–30 days", "underAMonth", "#edae49"], ["30–90 days", "underAQuarter", "#d1495b"], ["older", "older", "#6c2e3a"]];
  chart("chart-held", { type: "bar", data: { labels: held.map((x) => x.packet), datasets: ages.map((a) => ({
    label: a[0], data: held.map((x) => x[a[1]]), backgroundColor: a[2] })) },
    options: { indexAxis: "y", scales: { x: { stacked: true }, y: { stacked: true } } } });
  table("held", "Held by packet (age since the holding last changed)", h.packets, [["packet", "packet"],
    ["reward", (x) => (x.reward ? "yes" : "")], ["players", "players"], ["units", "units"]].concat(ages.map((a) => [a[0], a[1]])));

  // ---- players ----
  const pl = data.players || {};
  const pc = pl.percentiles || {};
  figures("players", [["median balance", pc.median], ["90th percentile", pc.p90], ["99th percentile", pc.p99],
    ["largest balance", pc.max], ["players with unexplained gains", pl.unexplainedPlayers]]);
  chart("chart-balances", { type: "bar", data: { labels: (pl.balances || []).map((b) => b.range), datasets: [
    { label: "players by balance", data: (pl.balances || []).map((b) => b.players), backgroundColor: colors.line }] } });
  const name = ["player", (x) => who(x.eosId), "text"];
  table("players", "Top earners in the period", pl.topEarners, [name, ["sales", "sales"], ["trades received", "tradesIn"],
    ["admin grants", "grants"], ["total", "total"]]);
  table("players", "Top spenders in the period", pl.topSpenders, [name, ["purchases", "purchases"], ["trades sent", "tradesOut"], ["total", "total"]]);
  table("players", "Balances beyond what their log rows explain", pl.unexplained, [name, ["balance", "balance"],
    ["explained by rows", "explained"], ["unexplained", "unexplained"], ["rows", "rows"]]);
  table("players", "Most sales of one item by one player in one day", pl.repeatedSales, [name, ["item", "item"],
    ["day", "day"], ["sales", "sales"], ["units", "units"], ["points", "points"]]);

  // ---- admin ----
  const a = data.admin || {};
  figures("admin", [["AddPoints with a log text", a.addCount], ["points granted", a.addPoints],
    ["SetPoints with a log text", a.setCount], ["median grant", a.medianGrant], ["out of the ordinary", (a.unusual || []).length]]);
  chart("chart-admin", { type: "bar", data: { labels: days.map((d) => d.day), datasets: [
    { label: "points granted (AddPoints)", data: days.map((d) => d.adminGrants), backgroundColor: colors.grants },
    { label: "SetPoints", data: days.map((d) => d.adminSetCount), type: "line", borderColor: colors.sets, pointRadius: 2 }] } });
  explain("admin", "Only AddPoints and SetPoints given with a log text write a row (the text is the reason; the " +
    "admin's name is not recorded). Grants without a text, ResetPoints, ResetKits and grants by other plugins leave " +
    "no row: they show as unexplained changes. Out of the ordinary: more than ten times the median grant.");
  const grantColumns = [["time", "time"], ["command", "kind"], name, ["amount", "amount"], ["log text", "text"], ["server", "server"]];
  table("admin", "Out of the ordinary", a.unusual, grantColumns);
  table("admin", "Latest", a.latest, grantColumns, 200);

  // ---- servers ----
  const s = data.servers || [];
  figures("servers", [["servers in the logs", s.length]]);
  chart("chart-servers", { type: "bar", data: { labels: s.map((x) => `server ${x.server}`), datasets: [
    { label: "purchases (points)", data: s.map((x) => x.purchases), backgroundColor: colors.purchases },
    { label: "sales (points)", data: s.map((x) => x.sales), backgroundColor: colors.sales },
    { label: "traded", data: s.map((x) => x.tradeVolume), backgroundColor: colors.trades },
    { label: "admin grants", data: s.map((x) => x.adminGrants), backgroundColor: colors.grants }] } });
  table("servers", "Per server", s, [["server", "server", "text"], ["players", "players"], ["purchases", "purchases"],
    ["bought", "purchaseCount"], ["sales", "sales"], ["sold", "saleCount"], ["redeems", "redeems"], ["trades", "trades"],
    ["traded", "tradeVolume"], ["admin grants", "adminGrants"]]);

  document.body.dataset.charts = String(charts.length);
})();
