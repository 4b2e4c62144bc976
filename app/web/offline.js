// After one visit the page opens with no network: sw.js keeps its files.
if ("serviceWorker" in navigator) {
    navigator.serviceWorker.register("sw.js");
}
