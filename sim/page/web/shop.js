// The shop as the client mod shows it. Everything drawn here comes from
// /api/view (what the mod received); every button sends one of the mod's requests.
"use strict";

const state = {
  player: new URLSearchParams(location.search).get("player") || "",
  tab: "buy",
  category: null,
  view: null,
  viewText: "",
  choices: {},   // by packet id: {items: [], dinos: [], commands: [], amount}
  amounts: {},   // other amount inputs by key
  askedAt: {},   // when each list was last asked for (an empty answer sends nothing)
};

// A list the mod has no batch of yet is only taken as empty after a moment.
const answerTime = 1500;
function waiting(action) { return Date.now() - (state.askedAt[action] || 0) < answerTime; }

const kinds = ["Buy", "Sell", "Claim"];
const tabOfButton = { 0: "buy", 1: "sell", 2: "log", 3: "held", 4: "trade" };

function el(tag, attrs, ...children) {
  const node = document.createElement(tag);
  for (const [key, value] of Object.entries(attrs || {})) {
    if (key.startsWith("on")) node.addEventListener(key.slice(2), value);
    else if (key === "class") node.className = value;
    else if (value === true) node.setAttribute(key, "");
    else if (value !== false && value !== null && value !== undefined) node.setAttribute(key, value);
  }
  for (const child of children.flat()) {
    if (child === null || child === undefined || child === false) continue;
    node.append(child instanceof Node ? child : document.createTextNode(String(child)));
  }
  return node;
}

function duration(seconds) {
  const minutes = Math.ceil(seconds / 60);
  const d = Math.floor(minutes / 1440), h = Math.floor(minutes % 1440 / 60), m = minutes % 60;
  return [d ? d + " d" : "", h ? h + " h" : "", m ? m + " min" : ""].filter(Boolean).join(" ") || "< 1 min";
}

function when(unix) { return new Date(unix * 1000).toLocaleString(); }

function status(text) { document.getElementById("status").textContent = text; }

// The mod's price: the discount on the whole, rounded to the nearest point.
function priceOf(unit, amount, discount) { return Math.floor(unit * amount * (1 - discount) + 0.5); }

async function send(action, int1 = 0, int2 = 0, text = "") {
  if (!state.player) return;
  state.askedAt[action === "category" ? "category" + int1 : action] = Date.now();
  setTimeout(render, answerTime + 50);
  const response = await fetch("api/send", {
    method: "POST", headers: { "Content-Type": "application/json" },
    body: JSON.stringify({ player: state.player, action, int1, int2, text }),
  });
  const answer = await response.json();
  status(response.ok ? `Sent ${action}${text ? " \u201c" + text + "\u201d" : ""}` : `Not sent: ${answer.error}`);
  setTimeout(refresh, 150);
}

// ---- buying -------------------------------------------------------------------------
function choiceOf(packet) {
  let choice = state.choices[packet.Id];
  if (!choice) {
    const first = (groups) => (groups || []).map((g) => (g.Variants[0] || {}).Id);
    choice = { items: first(packet.Items), dinos: first(packet.Dinos), commands: first(packet.Commands), amount: 1 };
    state.choices[packet.Id] = choice;
  }
  return choice;
}

function chosenIncrease(packet, choice) {
  let total = 0;
  const add = (groups, ids) => (groups || []).forEach((g, k) => {
    const v = g.Variants.find((variant) => variant.Id === ids[k]);
    if (v) total += v.PriceIncrease;
  });
  add(packet.Items, choice.items); add(packet.Dinos, choice.dinos); add(packet.Commands, choice.commands);
  return total;
}

function variantSelect(kind, groups, ids, packet) {
  return (groups || []).map((group, k) => {
    const options = group.Variants.map((v) => {
      const extra = v.PriceIncrease ? ` (+${v.PriceIncrease})` : "";
      const count = v.Amount > 1 ? `${v.Amount} \u00d7 ` : "";
      const detail = [v.Title, v.Level ? "level " + v.Level : "", v.Quality > 0 ? "quality " + v.Quality : ""]
        .filter(Boolean).join(", ");
      return el("option", { value: v.Id, selected: v.Id === ids[k], title: v.Description || null },
        count + v.Name + (detail ? ` \u2013 ${detail}` : "") + extra);
    });
    return el("div", { class: "row" }, el("span", { class: "muted" }, kind),
      el("select", { class: "variant " + kind.toLowerCase(), "data-group": k, onchange: (e) => {
        ids[k] = Number(e.target.value); render();
      } }, options));
  });
}

function packetCard(packet, points) {
  const choice = choiceOf(packet);
  const unit = packet.Price + chosenIncrease(packet, choice);
  const total = priceOf(unit, choice.amount, packet.Discount);
  const blocked = packet.PlayerCooldownLeft > 0 ? "on cooldown for " + duration(packet.PlayerCooldownLeft)
    : packet.ServerCooldownLeft > 0 ? "server cooldown " + duration(packet.ServerCooldownLeft)
    : packet.AvailableIn > 0 ? "available in " + duration(packet.AvailableIn)
    : points !== null && priceOf(unit, 1, packet.Discount) > points ? "not enough points" : "";
  const max = packet.MaxPurchaseSameTime > 0 ? packet.MaxPurchaseSameTime : 100;
  const levels = packet.MinCharLevel > 0 || packet.MaxCharLevel > 0
    ? `level ${packet.MinCharLevel || 1}\u2013${packet.MaxCharLevel || "any"}` : "";
  const cooldowns = [packet.PlayerCooldown > 0 ? "yours " + duration(packet.PlayerCooldown) : "",
    packet.ServerCooldown > 0 ? "server " + duration(packet.ServerCooldown) : ""].filter(Boolean).join(", ");
  return el("div", { class: "card packet", "data-name": packet.PacketName, "data-id": packet.Id },
    el("div", { class: "row" }, el("h3", {}, packet.PacketName),
      packet.Discount > 0 ? el("span", { class: "badge discount" }, `\u2212${Math.round(packet.Discount * 100)} %`) : null),
    packet.Description && packet.Description !== packet.PacketName ? el("div", { class: "muted" }, packet.Description) : null,
    variantSelect("Item", packet.Items, choice.items, packet),
    variantSelect("Creature", packet.Dinos, choice.dinos, packet),
    variantSelect("Command", packet.Commands, choice.commands, packet),
    levels || cooldowns ? el("div", { class: "muted" }, [levels, cooldowns ? "cooldown: " + cooldowns : ""].filter(Boolean).join(" \u00b7 ")) : null,
    blocked ? el("span", { class: "badge cooldown" }, blocked) : null,
    el("div", { class: "row" },
      el("label", {}, "Amount ", el("input", { type: "number", class: "amount", min: 1, max, value: choice.amount,
        onchange: (e) => { choice.amount = Math.max(1, Math.min(max, Number(e.target.value) || 1)); render(); } })),
      el("span", {}, packet.Discount > 0 ? el("span", { class: "was" }, unit * choice.amount) : null,
        el("span", { class: "price" }, total), " points")),
    el("button", { class: "primary buy", disabled: Boolean(blocked), onclick: () => buy(packet, choice) }, "Buy"));
}

function buy(packet, choice) {
  const text = `${packet.PacketName},${choice.amount};${choice.items.join(",")};${choice.dinos.join(",")};` +
    choice.commands.join(",");
  send("buy", 0, 0, text);
  // The cooldowns the shop reports change with a purchase: ask again once it is recorded.
  setTimeout(() => send("open"), 1500);
}

function renderBuy(view) {
  const categories = document.getElementById("categories");
  categories.replaceChildren(...view.categories.map((c) =>
    el("button", { class: "category" + (c.Id === state.category ? " active" : ""), "data-id": c.Id,
      onclick: () => { state.category = c.Id; send("category", c.Id); render(); } }, c.Name)));
  const packets = document.getElementById("packets");
  const list = state.category === null ? null : view.packets[String(state.category)];
  if (!view.opened) packets.replaceChildren(el("p", { class: "muted" }, "The shop is not open yet."));
  else if (state.category === null) packets.replaceChildren(el("p", { class: "muted" }, "Choose a category."));
  else if (!list || (!list.length && waiting("category" + state.category)))
    packets.replaceChildren(el("p", { class: "muted waiting" }, "Waiting for the category\u2026"));
  else if (!list.length) packets.replaceChildren(el("p", { class: "muted" }, "Nothing for you here."));
  else packets.replaceChildren(...list.map((p) => packetCard(p, view.points)));
}

// ---- the other tabs -------------------------------------------------------------------
function amountInput(key, max) {
  const value = state.amounts[key] || 1;
  return el("input", { type: "number", class: "amount", min: 1, max: max || null, value, "data-key": key,
    oninput: (e) => {
      e.target.dataset.typed = "1";
      state.amounts[key] = Math.max(1, Number(e.target.value) || 1);
    } });
}

// A redraw must not take a field from under the player: a field that has the
// focus or a typed value stays the very same element (its text, caret and
// focus) in the new drawing.
function fieldsInUse() {
  const fields = new Map();
  for (const input of document.querySelectorAll("input[data-key]"))
    if (input === document.activeElement || input.dataset.typed) fields.set(input.dataset.key, input);
  return fields;
}

function putBack(fields, focused) {
  for (const input of document.querySelectorAll("input[data-key]")) {
    const kept = fields.get(input.dataset.key);
    if (kept && kept !== input) input.replaceWith(kept);
  }
  if (focused && focused.isConnected && document.activeElement !== focused) focused.focus({ preventScroll: true });
}

// The amount typed beside a button (kept in state.amounts across redraws).
function amountBeside(event, key) {
  const input = event.target.parentElement.querySelector("input.amount");
  state.amounts[key] = Math.max(1, Number(input && input.value) || 1);
  return state.amounts[key];
}

function contents(view) {
  const names = [];
  for (const group of [...(view.Items || []), ...(view.Dinos || []), ...(view.Commands || [])])
    for (const v of group.Variants) names.push(v.Amount > 1 ? `${v.Amount} \u00d7 ${v.Name}` : v.Name);
  return names.join(", ");
}

function listOrHint(list, empty, draw, action) {
  if (list === null || (!list.length && waiting(action))) return [el("p", { class: "muted waiting" }, "Asking the shop\u2026")];
  if (!list.length) return [el("p", { class: "muted" }, empty)];
  return list.map(draw);
}

function renderHeld(view) {
  document.getElementById("held").replaceChildren(...listOrHint(view.held, "You hold no packets.", (h, i) => {
    const key = "held" + i;
    return el("div", { class: "card held", "data-name": h.PacketName },
      el("div", { class: "row" }, el("h3", {}, h.PacketName), el("span", { class: "badge" }, `\u00d7 ${h.Amount}`)),
      el("div", { class: "muted" }, contents(h)),
      el("div", { class: "row" }, amountInput(key, h.Amount),
        el("button", { class: "primary redeem", onclick: (e) => send("redeem", h.RewardId, h.AllVariants ? 1 : 0,
          `${h.RedeemName},${amountBeside(e, key)}${h.RedeemSelection}`) }, "Claim")));
  }, "redeemlist"));
}

function inventoryCount(view, itemClass) {
  return view.inventory.filter((i) => i.Class === itemClass && !i.Blueprint).reduce((n, i) => n + i.Quantity, 0);
}

function renderSell(view) {
  const disabled = view.settings && view.settings.DisableSell;
  document.getElementById("sell").replaceChildren(...(disabled ? [el("p", { class: "muted" }, "Selling is off on this server.")]
    : listOrHint(view.sell, "Nothing can be sold here.", (s) => {
      const key = "sell" + s.Name;
      return el("div", { class: "card sell", "data-name": s.Name },
        el("h3", {}, s.Name), s.Description ? el("div", { class: "muted" }, s.Description) : null,
        el("div", {}, `${s.Amount} items give `, el("span", { class: "price" }, s.Price), " points",
          s.MaxSellAtOnce > 0 ? el("span", { class: "muted" }, ` (at most ${s.MaxSellAtOnce} at once)`) : null),
        el("div", { class: "muted" }, `You have ${inventoryCount(view, s.ItemClass)}`),
        el("div", { class: "row" }, amountInput(key, s.MaxSellAtOnce > 0 ? s.MaxSellAtOnce : null),
          el("button", { class: "primary sell", onclick: (e) => send("sell", amountBeside(e, key), 0, s.Name) }, "Sell")));
    }, "selllist")));
}

function renderTrade(view) {
  const disabled = view.settings && view.settings.DisableTrade;
  document.getElementById("trade").replaceChildren(...(disabled ? [el("p", { class: "muted" }, "Sending points is off on this server.")]
    : listOrHint(view.tradeTargets, "Nobody to send points to.", (t) => {
      const key = "trade" + t.EosId;
      // The shop labels a character "Name (Tribe)"; without a tribe the brackets say nothing.
      const label = t.Names.length ? t.Names[0].replace(/ \(\)$/, "") : t.EosId;
      return el("div", { class: "card target", "data-eos": t.EosId },
        el("div", { class: "row" }, el("h3", {}, label), t.IsOnline ? el("span", { class: "online" }, "\u25cf online") : null),
        t.Names.length > 1 ? el("div", { class: "muted" }, t.Names.slice(1).join(", ")) : null,
        el("div", { class: "row" }, amountInput(key),
          el("button", { class: "primary trade", onclick: (e) => send("trade", amountBeside(e, key), 0, `${t.EosId} ${label}`) }, "Send")));
    }, "tradetargets")));
}

function table(headers, rows) {
  return el("table", {}, el("tr", {}, headers.map((h) => el("th", {}, h))), rows.map((r) => el("tr", {}, r.map((c) => el("td", {}, c)))));
}

// A logged packet text ("Kit,1;Stone Pick;;") reads "Kit (Stone Pick)".
function packetLabel(text) {
  const sections = text.split(";");
  const chosen = sections.slice(1).join(",").split(",").filter(Boolean);
  const name = sections[0].split(",")[0];
  return chosen.length ? `${name} (${chosen.join(", ")})` : name;
}

function renderLogs(view) {
  document.getElementById("shoplog").replaceChildren(...(view.shopLog === null || waiting("shoplog") && !view.shopLog.length
    ? listOrHint(null) : !view.shopLog.length
    ? [el("p", { class: "muted" }, "No purchases yet.")]
    : [table(["When", "What", "Packet", "Amount", "Points"], view.shopLog.map((e) =>
      [when(e.Timestamp), kinds[e.Kind] || e.Kind, packetLabel(e.Packet), e.Amount, e.PointsChange]))]));
  document.getElementById("tradelog").replaceChildren(...(view.tradeLog === null || waiting("tradelog") && !view.tradeLog.length
    ? listOrHint(null) : !view.tradeLog.length
    ? [el("p", { class: "muted" }, "No trades yet.")]
    : [table(["When", "With", "Points"], view.tradeLog.map((e) => [when(e.Timestamp), e.PartnerName, e.Amount]))]));
}

// "PrimalItemResource_MetalIngot" reads "Metal Ingot".
function itemName(assetName) {
  const bare = assetName.includes("_") ? assetName.slice(assetName.indexOf("_") + 1) : assetName;
  return bare.replace(/([a-z])([A-Z])/g, "$1 $2");
}

function renderWorld(view) {
  document.getElementById("inventory").replaceChildren(...(view.inventory.length ? view.inventory.map((i) =>
    el("li", { "data-class": i.Class, "data-quantity": i.Quantity }, el("span", { title: i.Class }, itemName(i.Name) + (i.Blueprint ? " (blueprint)" : "")),
      el("strong", {}, i.Quantity))) : [el("li", { class: "muted" }, "empty")]));
  document.getElementById("cryopods").replaceChildren(...(view.cryopods.length
    ? view.cryopods.map((c) => el("li", { class: "cryopod" }, c)) : [el("li", { class: "muted" }, "none")]));
  document.getElementById("messages").replaceChildren(...view.messages.map((m) => el("li", {}, m)));
}

function render() {
  const view = state.view;
  if (!view) return;
  const fields = fieldsInUse();
  const focused = document.activeElement;
  const settings = view.settings || {};
  document.getElementById("shop-name").textContent = settings.ShopName || "TandorShop";
  for (const button of settings.Buttons || []) {
    const tab = document.querySelector(`#tabs button[data-tab="${tabOfButton[button.Kind]}"]`);
    if (tab && button.Text) tab.textContent = button.Text;
  }
  document.getElementById("points").textContent = view.points === null ? "\u2013" : view.points;
  document.getElementById("passive").textContent = view.opened ? `+${view.passivePoints} every ${settings.RewardIntervalMinutes || "?"} min` : "";
  renderBuy(view); renderHeld(view); renderSell(view); renderTrade(view); renderLogs(view); renderWorld(view);
  putBack(fields, focused);
}

// ---- polling ----------------------------------------------------------------------------
async function refreshPlayers() {
  const answer = await (await fetch("api/players")).json();
  const select = document.getElementById("player");
  const players = answer.players || [];
  if (!state.player && players.length) choosePlayer(players[0].EosId);
  select.replaceChildren(...(players.length ? players.map((p) => el("option", { value: p.EosId, selected: p.EosId === state.player },
    `${p.Name}${p.Tribe ? " [" + p.Tribe + "]" : ""} (level ${p.Level})`)) : [el("option", { value: "" }, "(nobody online)")]));
}

async function refresh() {
  if (!state.player) return;
  const response = await fetch("api/view?player=" + encodeURIComponent(state.player));
  if (!response.ok) { status((await response.json()).error); return; }
  const text = await response.text();
  if (text === state.viewText) return;
  state.viewText = text;
  state.view = JSON.parse(text);
  render();
}

function choosePlayer(eosId) {
  state.player = eosId; state.view = null; state.viewText = ""; state.category = null; state.choices = {};
  history.replaceState(null, "", "?player=" + encodeURIComponent(eosId));
  send("open");
}

const listOfTab = { held: "redeemlist", sell: "selllist", trade: "tradetargets", log: ["shoplog", "tradelog"] };

function showTab(tab) {
  state.tab = tab;
  for (const button of document.querySelectorAll("#tabs button")) button.classList.toggle("active", button.dataset.tab === tab);
  for (const section of document.querySelectorAll(".tab")) section.hidden = section.id !== "tab-" + tab;
  const lists = [].concat(listOfTab[tab] || []);
  lists.forEach((action, i) => setTimeout(() => send(action), i * 50));
}

document.getElementById("player").addEventListener("change", (e) => choosePlayer(e.target.value));
document.getElementById("open").addEventListener("click", () => send("open"));
for (const button of document.querySelectorAll("#tabs button")) button.addEventListener("click", () => showTab(button.dataset.tab));

const playerFromAddress = state.player;
refreshPlayers().then(() => { if (playerFromAddress) send("open"); });
setInterval(refresh, 500);
setInterval(refreshPlayers, 3000);
