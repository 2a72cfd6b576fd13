// Opens the shop page for one player in Debian's headless Chromium, browses every
// category, buys a packet with chosen variants and reports what the page showed
// as one line of JSON. Usage:
//   node shop-page.mjs URL PLAYER CATEGORY PACKET VARIANT,VARIANT... SCREENSHOT.png
import { chromium } from "playwright-core";
import { mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";

const [url, player, category, packetName, variantList, screenshot] = process.argv.slice(2);
if (!screenshot) {
  console.error("usage: node shop-page.mjs URL PLAYER CATEGORY PACKET VARIANTS SCREENSHOT");
  process.exit(2);
}
const variants = variantList.split(",").filter(Boolean);
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
  await page.goto(`${url}?player=${encodeURIComponent(player)}`);

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
  await page.click(`#categories button.category:text-is("${category}")`);
  await page.waitForTimeout(2000);

  const card = page.locator(`#packets .packet[data-name="${packetName}"]`);
  const selects = card.locator("select.variant");
  for (let i = 0; i < await selects.count(); ++i) {
    const select = selects.nth(i);
    const labels = await select.locator("option").allTextContents();
    const wanted = labels.find((label) => variants.some((v) => label.includes(v)));
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
  }, packetName);
  seen.pointsAfter = Number(await page.textContent("#points"));
  seen.cooldown = await card.locator(".badge.cooldown").textContent();
  seen.buyDisabled = await card.locator("button.buy").isDisabled();
  seen.inventory = await page.$$eval("#inventory li[data-class]", (items) => items.map((item) => ({
    class: item.dataset.class, quantity: Number(item.dataset.quantity),
  })));
  seen.messages = await page.$$eval("#messages li", (items) => items.map((item) => item.textContent));
  seen.pageErrors = pageErrors;
  await page.screenshot({ path: screenshot });
  console.log(JSON.stringify(seen));
} catch (error) {
  console.error(`shop page: ${error.message}`);
  process.exitCode = 1;
} finally {
  await context.close();
  rmSync(profile, { recursive: true, force: true });
}
