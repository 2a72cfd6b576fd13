// Opens a report page (a file) in Debian's headless Chromium and reports, as one
// line of JSON: the page's errors and console errors, every request it made that
// was not the file itself, and for each chart whether the chart library drew it
// (a chart object on the canvas and painted pixels). Saves a screenshot.
// Usage: node report-page.mjs PAGE.html SCREENSHOT.png MODULES_DIR
import { createRequire } from "node:module";
import { mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { pathToFileURL } from "node:url";

if (process.argv.length !== 5) {
  console.error("usage: node report-page.mjs PAGE.html SCREENSHOT.png MODULES_DIR");
  process.exit(2);
}
const [page, screenshot, modules] = process.argv.slice(2);
const { chromium } = createRequire(join(modules, "package.json"))("playwright-core");

const profile = mkdtempSync(join(tmpdir(), "tandorshop-report-chromium-"));
const context = await chromium.launchPersistentContext(profile, {
  executablePath: "/usr/bin/chromium",
  headless: true,
  viewport: { width: 1280, height: 1300 },
  args: ["--headless", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking",
    "--disable-component-update", "--disable-sync"],
});
const seen = { pageErrors: [], consoleErrors: [], requests: [] };
try {
  const tab = context.pages()[0] || await context.newPage();
  const url = pathToFileURL(page).href;
  tab.on("pageerror", (error) => seen.pageErrors.push(String(error)));
  tab.on("console", (message) => { if (message.type() === "error") seen.consoleErrors.push(message.text()); });
  tab.on("request", (request) => { if (request.url() !== url) seen.requests.push(request.url()); });
  await tab.goto(url);
  await tab.waitForFunction(() => document.body.dataset.charts !== undefined, null, { timeout: 30000 });
  seen.chartCount = Number(await tab.evaluate(() => document.body.dataset.charts));
  seen.charts = await tab.$$eval("canvas", (canvases) => canvases.map((canvas) => {
    const chart = window.Chart && window.Chart.getChart(canvas);
    const pixels = canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height).data;
    let painted = 0;
    for (let i = 3; i < pixels.length; i += 4) if (pixels[i] !== 0) ++painted;
    return { id: canvas.id, chart: Boolean(chart), points: chart ? chart.data.datasets.reduce(
      (n, d) => n + d.data.filter((v) => v !== 0 && v != null).length, 0) : 0, painted, width: canvas.width };
  }));
  seen.notes = await tab.$$eval("#notes li", (items) => items.map((li) => li.textContent));
  seen.tables = await tab.$$eval("section", (sections) => sections.map((s) => ({ id: s.id,
    rows: s.querySelectorAll("tbody tr").length })));
  await tab.screenshot({ path: screenshot });
} catch (error) {
  seen.failure = String(error);
} finally {
  await context.close();
  rmSync(profile, { recursive: true, force: true });
}
console.log(JSON.stringify(seen));
