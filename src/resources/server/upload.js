// With JavaScript the log is sent to the upload API (its file time as the
// time it was played) and the outcome shown without leaving the page; the
// form works without it as a plain multipart POST.
"use strict";
const form = document.getElementById("send");
const fileInput = document.getElementById("file");
const drop = document.getElementById("drop");
const outcome = document.getElementById("outcome");

// The same words the server's own answer page uses.
function words(answer) {
  switch (answer.outcome) {
    case "stored": return `Stored as match ${answer.match}.`;
    case "recording": return `Stored as recording ${answer.recording} of match ${answer.match}.`;
    case "already": return `Already stored as match ${answer.match}.`;
    default: return `Not stored: ${answer.reason}.`;
  }
}

function show(text, kind, url) {
  outcome.className = `outcome ${kind}`;
  outcome.textContent = text + (url ? " " : "");
  if (url) {
    const link = document.createElement("a");
    link.href = url;
    link.textContent = "The match's page";
    outcome.append(link);
  }
}

drop.addEventListener("dragover", event => {
  event.preventDefault();
  drop.classList.add("over");
});
drop.addEventListener("dragleave", () => drop.classList.remove("over"));
drop.addEventListener("drop", event => {
  event.preventDefault();
  drop.classList.remove("over");
  if (event.dataTransfer.files.length > 0) fileInput.files = event.dataTransfer.files;
});

form.addEventListener("submit", async event => {
  event.preventDefault();
  const file = fileInput.files[0];
  const token = document.getElementById("token").value.trim();
  if (!file || !token) return;
  const query = new URLSearchParams({
    "file": file.name,
    "played-at": new Date(file.lastModified).toISOString().replace(/\.\d+Z$/, "Z"),
    "game-version": document.getElementById("game-version").value,
  });
  const button = form.querySelector("button");
  button.disabled = true;
  show(`Sending ${file.name}...`, "", "");
  try {
    const response = await fetch(`api/v1/recordings?${query}`, {
      method: "POST",
      headers: {"Authorization": `Bearer ${token}`, "Content-Type": "application/octet-stream"},
      body: file,
    });
    const answer = await response.json();
    show(words(answer), answer.outcome === "refused" ? "refused" : "stored", answer.url);
  } catch (error) {
    show(`Not sent: the server could not be reached (${error.message}).`, "refused", "");
  } finally {
    button.disabled = false;
  }
});
