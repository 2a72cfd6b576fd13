// Opens the shop page for one player in Debian's headless Chromium, browses every
// category, buys a packet with chosen variants, claims a held packet, sells,
// sends points, reads both logs, and reports what the page showed as one line of
// JSON. Usage: node shop-page.mjs PLAN.json, the plan holding url, player,
// category, packet, variants (texts of the options to choose), claim (a held
// packet), sell (an item to sell), tradeTo and tradeAmount, and screenshot.
import { chromium } from "playwright-core";
import { mkdtempSync, readFileSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";

if (process.argv.length !== 3) {
  console.error("usage: node shop-page.mjs PLAN.json");
  process.exit(2);
}
const plan = JSON.parse(readFileSync(process.argv[2], "utf8"));
const timeout = 30000;

const profile = mkdtempSync(join(tmpdir(), "tandorshop-chromium-"));
const context = await chromium.launchPersistentContext(profile, {
  executablePath: "/usr/bin/chromium",
  headless: true,
  viewport: { width: 1280, height: 560 },
  args: ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync"],
});
try {
  const page = context.pages()[0] || await context.newPage();
  const pageErrors = [];
  page.on("pageerror", (error) => pageErrors.push(String(error)));
  page.setDefaultTimeout(timeout);
  await page.goto(`${plan.url}?player=${encodeURIComponent(plan.player)}`);

  const seen = {};
  // The shop opens for the player: points and categories arrive from the mod's events.
  await page.waitForFunction(() => /^-?\d+$/.test(document.getElementById("points").textContent));
  await page.waitForSelector("#categories button.category");
  seen.shopName = await page.textContent("#shop-name");
  seen.pointsBefore = Number(await page.textContent("#points"));
  seen.categories = await page.$$eval("#categories button.category", (buttons) => buttons.map((b) => b.textContent));

  // Every category in turn (the mod takes one category request per half second).
  seen.packets = {};
  for (const name of seen.categories) {
    await page.click(`#categories button.category:text-is("${name}")`);
    await page.waitForFunction(() => !document.querySelector("#packets .waiting"));
    seen.packets[name] = await page.$$eval("#packets .packet", (cards) => cards.map((card) => ({
      name: card.dataset.name, price: Number(card.querySelector(".price").textContent),
    })));
    await page.waitForTimeout(600);
  }
  await page.click(`#categories button.category:text-is("${plan.category}")`);
  await page.waitForTimeout(2000);

  const card = page.locator(`#packets .packet[data-name="${plan.packet}"]`);
  const selects = card.locator("select.variant");
  for (let i = 0; i < await selects.count(); ++i) {
    const select = selects.nth(i);
    const labels = await select.locator("option").allTextContents();
    const wanted = labels.find((label) => plan.variants.some((v) => label.includes(v)));
    if (wanted) await select.selectOption({ label: wanted });
  }
  seen.total = Number(await card.locator(".price").textContent());
  await card.locator("button.buy").click();

  // The purchase shows in the points and the inventory; the reopened shop reports the cooldown.
  await page.waitForFunction((before) => Number(document.getElementById("points").textContent) !== before,
    seen.pointsBefore);
  await page.waitForFunction((name) => {
    const packet = document.querySelector(`#packets .packet[data-name="${name}"]`);
    return packet && packet.querySelector(".badge.cooldown") !== null;
  }, plan.packet);
  seen.pointsAfter = Number(await page.textContent("#points"));
  seen.cooldown = await card.locator(".badge.cooldown").textContent();
  seen.buyDisabled = await card.locator("button.buy").isDisabled();
  const points = async () => Number(await page.textContent("#points"));
  const untilPointsChange = (before) => page.waitForFunction(
    (value) => Number(document.getElementById("points").textContent) !== value, before);

  // A held packet: claimed from its tab, it leaves the list and its goods arrive.
  await page.click("#tabs button[data-tab=held]");
  const held = page.locator(`#held .held[data-name="${plan.claim}"]`);
  await held.waitFor();
  await held.locator("button.redeem").click();
  await page.waitForSelector("#cryopods li.cryopod");
  await held.waitFor({ state: "detached" });
  seen.cryopods = await page.$$eval("#cryopods li.cryopod", (items) => items.map((item) => item.textContent));

  // A sale of one unit, then points sent to another player.
  await page.click("#tabs button[data-tab=sell]");
  const sale = page.locator(`#sell .sell[data-name="${plan.sell}"]`);
  await sale.waitFor();
  let before = await points();
  await sale.locator("button.sell").click();
  await untilPointsChange(before);
  seen.pointsAfterSale = await points();

  await page.click("#tabs button[data-tab=trade]");
  const target = page.locator(`#trade .target[data-eos="${plan.tradeTo}"]`);
  await target.waitFor();
  // Typed as a player types, a key at a time into the field that has the focus,
  // with the page redrawing between keys (as its timers do whenever they fire);
  // the amount is sent once the field shows all of it.
  await target.locator("input.amount").fill("");
  for (const key of String(plan.tradeAmount)) {
    await page.keyboard.press(key);
    await page.evaluate(() => render());
  }
  await page.waitForFunction((wanted) => {
    const field = document.querySelector(`#trade .target[data-eos="${wanted.to}"] input.amount`);
    return field && field.value === wanted.amount;
  }, { to: plan.tradeTo, amount: String(plan.tradeAmount) });
  before = await points();
  await target.locator("button.trade").click();
  await untilPointsChange(before);
  seen.pointsAfterTrade = await points();

  await page.click("#tabs button[data-tab=log]");
  await page.waitForFunction(() => document.querySelectorAll("#shoplog tr").length > 1 &&
    document.querySelectorAll("#tradelog tr").length > 1);
  const rows = (selector) => page.$$eval(`${selector} tr`, (trs) => trs.slice(1).map((tr) =>
    [...tr.querySelectorAll("td")].slice(1).map((td) => td.textContent)));
  seen.shopLog = await rows("#shoplog");
  seen.tradeLog = await rows("#tradelog");

  await page.click("#tabs button[data-tab=buy]");
  await page.waitForTimeout(700);
  seen.inventory = await page.$$eval("#inventory li[data-class]", (items) => items.map((item) => ({
    class: item.dataset.class, quantity: Number(item.dataset.quantity),
  })));
  seen.messages = await page.$$eval("#messages li", (items) => items.map((item) => item.textContent));
  seen.pageErrors = pageErrors;
  await page.screenshot({ path: plan.screenshot });
  console.log(JSON.stringify(seen));
} catch (error) {
  console.error(`shop page: ${error.message}`);
  process.exitCode = 1;
} finally {
  await context.close();
  rmSync(profile, { recursive: true, force: true });
}
