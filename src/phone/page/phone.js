// The phone page: one item at a time, each answer sent to the program as soon as it is given.
// Answers go out one at a time and in order; an answer that could not be sent stays in line and
// is sent again, so a dropped connection loses nothing.
"use strict";

(function () {
  const ITEMS = 71;
  const base = location.pathname.replace(/\/+$/, "");
  const $ = (id) => document.getElementById(id);
  const views = ["loading", "intro", "question", "summary", "done", "refusal", "failure"];
  const reasons = {
    finished: "پاسخ‌های این پیوند پیش‌تر به پایان رسیده است.",
    closed: "این پیوند بسته شده است.",
    expired: "زمان این پیوند گذشته است.",
    device: "این پیوند روی دستگاه دیگری باز شده است.",
  };

  let answers = [];   // "yes", "no" or "" per item
  let items = [];
  let current = 1;
  const queue = [];   // answers not yet acknowledged: {item, answer}
  let sending = false;
  let retryDelay = 500;
  let ended = false;
  let finishing = false;

  function show(name) {
    for (const v of views) $(v).hidden = v !== name;
    window.scrollTo(0, 0);
  }

  function status(text, warn) {
    $("status").textContent = text || "";
    $("status").className = warn ? "warn" : "";
  }

  function refuse(reason) {
    ended = true;
    queue.length = 0;
    $("refusal-reason").textContent = reasons[reason] || "";
    show("refusal");
    status("");
  }

  async function post(action, body) {
    const response = await fetch(base + "/" + action, {
      method: "POST",
      headers: { "Content-Type": "application/json" },
      body: JSON.stringify(body || {}),
      cache: "no-store",
      credentials: "same-origin",
    });
    let data = {};
    try {
      data = await response.json();
    } catch (e) {
      data = {};
    }
    return { status: response.status, data: data };
  }

  function applyLook(look) {
    if (!look) return;
    const names = {
      background: "--background", text: "--text", accent: "--accent", accentText: "--accent-text",
      button: "--button", buttonText: "--button-text", border: "--border",
    };
    for (const key in names) {
      if (typeof look[key] === "string" && /^#[0-9a-fA-F]{3,8}$/.test(look[key]))
        document.documentElement.style.setProperty(names[key], look[key]);
    }
  }

  function answeredCount() {
    return answers.filter((a) => a === "yes" || a === "no").length;
  }

  function showItem(n) {
    current = Math.min(Math.max(n, 1), ITEMS);
    $("number").textContent = "سؤال " + current;
    $("counter").textContent = current + " / " + ITEMS;
    $("bar-fill").style.width = (100 * answeredCount() / ITEMS) + "%";
    $("item-text").textContent = items[current - 1] || "";
    $("yes").classList.toggle("chosen", answers[current - 1] === "yes");
    $("no").classList.toggle("chosen", answers[current - 1] === "no");
    $("back").disabled = current === 1;
    // The button just pressed keeps no focus ring into the next item.
    if (document.activeElement && document.activeElement.blur) document.activeElement.blur();
    show("question");
  }

  function showSummary() {
    const missing = [];
    for (let i = 1; i <= ITEMS; i++) if (answers[i - 1] !== "yes" && answers[i - 1] !== "no") missing.push(i);
    $("summary-count").textContent = "به " + answeredCount() + " سؤال از " + ITEMS + " سؤال پاسخ داده‌اید.";
    const box = $("unanswered");
    box.textContent = "";
    for (const n of missing) {
      const b = document.createElement("button");
      b.textContent = String(n);
      b.dataset.item = String(n);
      b.addEventListener("click", () => showItem(n));
      box.appendChild(b);
    }
    $("unanswered-box").hidden = missing.length === 0;
    show("summary");
  }

  function step(n) {
    if (n > ITEMS) showSummary();
    else showItem(n);
  }

  async function pump() {
    if (sending || ended) return;
    sending = true;
    while (queue.length && !ended) {
      const next = queue[0];
      let result;
      try {
        result = await post("answer", { item: next.item, answer: next.answer });
      } catch (e) {
        result = { status: 0, data: {} };
      }
      if (result.status === 200) {
        queue.shift();
        retryDelay = 500;
        continue;
      }
      if (result.status === 403 || result.status === 404) {
        refuse(result.data.refused);
        break;
      }
      // Not stored (no connection, or the program could not write): try again shortly.
      status("پاسخ‌ها هنوز ثبت نشده‌اند؛ دوباره فرستاده می‌شوند…", true);
      await new Promise((resolve) => setTimeout(resolve, retryDelay));
      retryDelay = Math.min(retryDelay * 2, 8000);
    }
    sending = false;
    if (!queue.length && !ended) {
      status("");
      if (finishing) finish();
    }
  }

  function answer(value) {
    if (ended) return;
    const item = current;
    answers[item - 1] = value;
    // Only the latest answer of an item waiting to go out is sent.
    const waiting = queue.findIndex((q, i) => q.item === item && (i > 0 || !sending));
    if (waiting >= 0) queue[waiting].answer = value;
    else queue.push({ item: item, answer: value });
    pump();
    step(item + 1);
  }

  async function finish() {
    if (ended) return;
    finishing = true;
    $("finish").disabled = true;
    if (queue.length) {
      status("در حال ثبت آخرین پاسخ‌ها…");
      pump();
      return;
    }
    let result;
    try {
      result = await post("finish");
    } catch (e) {
      result = { status: 0, data: {} };
    }
    if (result.status === 200) {
      ended = true;
      show("done");
      status("");
    } else if (result.status === 403 || result.status === 404) {
      refuse(result.data.refused);
    } else {
      finishing = false;
      $("finish").disabled = false;
      status("پایان ثبت نشد؛ دوباره «پایان و ارسال» را بزنید.", true);
    }
  }

  async function open() {
    show("loading");
    let result;
    try {
      result = await post("open");
    } catch (e) {
      result = { status: 0, data: {} };
    }
    if (result.status === 403 || result.status === 404) {
      refuse(result.data.refused);
      return;
    }
    if (result.status !== 200) {
      show("failure");
      return;
    }
    const sheet = result.data;
    items = sheet.items || [];
    answers = (sheet.answers || []).slice(0, ITEMS);
    while (answers.length < ITEMS) answers.push("");
    applyLook(sheet.look);
    $("clinic").textContent = sheet.clinic || "";
    $("greeting").textContent = sheet.name ? sheet.name + " عزیز، خوش آمدید" : "";
    $("top").hidden = false;
    if (answeredCount() === 0) show("intro");
    else if (sheet.first > 0) showItem(sheet.first);
    else showSummary();
  }

  document.addEventListener("DOMContentLoaded", () => {
    $("start").addEventListener("click", () => showItem(1));
    $("yes").addEventListener("click", () => answer("yes"));
    $("no").addEventListener("click", () => answer("no"));
    $("back").addEventListener("click", () => showItem(current - 1));
    $("skip").addEventListener("click", () => step(current + 1));
    $("review").addEventListener("click", () => showItem(ITEMS));
    $("finish").addEventListener("click", finish);
    $("retry").addEventListener("click", open);
    window.addEventListener("beforeunload", (e) => {
      if (queue.length && !ended) e.preventDefault();
    });
    open();
  });
})();
