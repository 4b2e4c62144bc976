// The words the drill runs on: a file picked or dropped on the page, kept by the browser for the
// next visit; a first visit is offered the sample.
(function () {
    const CACHE = "vocabunta-words";
    const KEY = "engl.voc";
    const note = document.getElementById("Note");
    const picker = document.getElementById("File");

    async function keep(buffer, name) {
        try {
            const cache = await caches.open(CACHE);
            await cache.put(KEY, new Response(buffer, {headers: {"X-Name": encodeURIComponent(name)}}));
        } catch (e) {
            // Not kept: the next visit asks for the file again.
        }
    }

    async function take(file) {
        if (!Module.mayHold(file.size)) {
            Module.notWords(true);
            return;
        }
        let buffer;
        try {
            buffer = await file.arrayBuffer();
        } catch (e) {
            Module.notWords(e.name !== "NotFoundError" && e.name !== "NotReadableError");
            return;
        }
        note.textContent = "Выбран файл «" + file.name + "».";
        if (Module.openWords(buffer)) {
            keep(buffer, file.name);
        }
    }

    picker.addEventListener("change", () => {
        if (picker.files.length > 0) {
            take(picker.files[0]);
        }
    });
    // A file dropped anywhere on the page is taken, not opened by the browser in its place.
    document.addEventListener("dragover", (event) => event.preventDefault());
    document.addEventListener("drop", (event) => {
        event.preventDefault();
        const item = event.dataTransfer.items[0];
        const entry = item && item.webkitGetAsEntry ? item.webkitGetAsEntry() : null;
        if (!item || item.kind !== "file" || (entry && entry.isDirectory)) {
            Module.notWords(false);
        } else {
            take(item.getAsFile());
        }
    });
    document.getElementById("Sample").addEventListener("click", async () => {
        const buffer = await (await fetch(KEY)).arrayBuffer();
        note.textContent = "Выбран образец: 445 пар слов.";
        if (Module.openWords(buffer)) {
            keep(buffer, KEY);
        }
    });

    Module.windowShown = async function () {
        try {
            const kept = await (await caches.open(CACHE)).match(KEY);
            if (kept) {
                const name = decodeURIComponent(kept.headers.get("X-Name") || KEY);
                Module.openWords(await kept.arrayBuffer());
                note.textContent = "Это копия файла «" + name + "», которую хранит браузер. " +
                    "Если вы изменили файл, выберите его снова.";
                return;
            }
        } catch (e) {
            // Nothing kept, or nothing readable: as on a first visit.
        }
        note.textContent = "Выберите файл со словами (строки вида apple$яблоко) или " +
            "перетащите его в окно. Можно начать с образца.";
    };
})();
