// The page: files chosen or dropped are read in the browser and handed to
// window.quorvex; every value shown is set as text, never as markup.
"use strict";

(() => {
  const $ = (id) => document.getElementById(id);
  const status = $("status");
  const results = $("results");
  let files = [];

  $("year").value = String(new Date().getFullYear() - 1);

  quorvex.ready.then(
    () => {
      status.textContent = "Ready.";
      $("version").textContent = "Quorvex " + quorvex.version;
      $("check").disabled = false;
    },
    (error) => { status.textContent = "The engine could not be loaded: " + error; });

  function element(tag, text, className) {
    const node = document.createElement(tag);
    if (text !== undefined && text !== null) node.textContent = String(text);
    if (className) node.className = className;
    return node;
  }

  function row(cells, header) {
    const tr = element("tr");
    cells.forEach((cell) => tr.append(element(header ? "th" : "td", cell)));
    return tr;
  }

  function bytesOf(file) {
    return file.arrayBuffer().then((buffer) => new Uint8Array(buffer));
  }

  // Every problem as the tool's HTML report lists it.
  function problemTable(errors) {
    const table = element("table", null, "problems");
    table.append(row(["Line", "File line", "Column", "Item", "Value", "Code", "Message"], true));
    for (const e of errors) {
      table.append(row([e.line, e.fileLine || "", e.column, e.item, e.value === null ? "" : e.value, e.code,
                        e.message]));
    }
    return table;
  }

  function summary(result, name) {
    const table = element("table", null, "summary");
    table.append(row(["File", name]));
    const passed = result.Result === "S_OK";
    const verdict = row(["Result", passed ? "passed" : "failed: " + result.Errors.length + " problem(s)"]);
    verdict.lastChild.className = passed ? "pass" : "fail";
    table.append(verdict);
    if (result.HojinNo) table.append(row(["HojinNo", result.HojinNo]));
    if (result.GIIN) table.append(row(["GIIN", result.GIIN]));
    table.append(row(["Accounts", result.AccountReportCount]));
    return table;
  }

  function xmlName(name) {
    return name.replace(/\.[^.]*$/, "") + ".xml";
  }

  async function convert(file, bytes, schema, lang, box) {
    const result = await quorvex.convert(bytes, { schema, lang });
    if (result.Result !== "S_OK") {
      box.append(element("p", "The conversion failed:", "fail"), problemTable(result.Errors));
      return;
    }
    const link = element("a", "Download " + xmlName(file.name));
    link.href = URL.createObjectURL(new Blob([result.CRSData], { type: "application/xml" }));
    link.download = xmlName(file.name);
    box.append(link);
  }

  async function checkAll() {
    const schema = Number($("schema").value);
    const year = $("year").value;
    const lang = $("lang").value;
    results.replaceChildren();
    for (const file of files) {
      const box = element("div", null, "file");
      box.append(element("h3", file.name));
      results.append(box);
      status.textContent = "Checking " + file.name + "…";
      try {
        const bytes = await bytesOf(file);
        const result = await quorvex.check(bytes, { schema, year, lang });
        box.append(summary(result, file.name));
        if (result.Errors.length > 0) box.append(problemTable(result.Errors));
        if (result.Result === "S_OK") {
          const button = element("button", "Convert to XML");
          button.type = "button";
          button.addEventListener("click", () => {
            button.disabled = true;
            convert(file, bytes, schema, lang, box).catch((error) => box.append(element("p", String(error), "fail")));
          });
          box.append(button);
        }
      } catch (error) {
        box.append(element("p", "Could not check this file: " + error, "fail"));
      }
    }
    status.textContent = files.length === 0 ? "Choose CSV files first." : "Checked " + files.length + " file(s).";
  }

  function choose(list) {
    files = Array.from(list);
    status.textContent = files.map((f) => f.name).join(", ") || "No file chosen.";
    if (files.length > 0 && !$("check").disabled) checkAll();
  }

  $("csv-files").addEventListener("change", (event) => choose(event.target.files));
  $("check").addEventListener("click", checkAll);
  const drop = $("drop");
  drop.addEventListener("dragover", (event) => { event.preventDefault(); drop.classList.add("over"); });
  drop.addEventListener("dragleave", () => drop.classList.remove("over"));
  drop.addEventListener("drop", (event) => {
    event.preventDefault();
    drop.classList.remove("over");
    choose(event.dataTransfer.files);
  });

  $("xml-file").addEventListener("change", async (event) => {
    const box = $("xml-result");
    box.replaceChildren();
    const file = event.target.files[0];
    if (!file) return;
    try {
      const result = await quorvex.readXml(await bytesOf(file), { lang: $("lang").value });
      box.append(summary(result, file.name));
      if (result.Errors.length > 0) box.append(problemTable(result.Errors));
      if (result.Result === "S_OK") box.append(element("pre", result.XMLData));
    } catch (error) {
      box.append(element("p", "Could not read this file: " + error, "fail"));
    }
  });
})();
