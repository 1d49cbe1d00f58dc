// The JavaScript interface of the engine compiled to WebAssembly. In the page
// it is window.quorvex; under Node, require() gives makeQuorvexApi.
//
//   await quorvex.ready
//   const result = await quorvex.check(bytes, { schema: 2, year: "2023", lang: "en" })
//   const xml = (await quorvex.convert(bytes, { schema: 2 })).CRSData
//
// bytes is a Uint8Array holding the file as it is on disk (Shift_JIS CSV). Each
// call resolves to the tool's --json object: Result, DetailErrorInfo, HojinNo,
// GIIN, AccountReportCount, CRSData, XMLData and Errors (line, fileLine,
// column, assistColumn, code, message, item, value). The bytes are copied into
// the module's memory and handed to the engine's operations on bytes; nothing
// is written anywhere and nothing is sent anywhere. ready resolves once the
// module is loaded and has checked a small generated file (see
// quorvex_web_warm_up).
"use strict";

function makeQuorvexApi(modulePromise) {
  let engine = null;
  const api = {
    version: "",
    ready: null,
    check(bytes, options = {}) {
      return api.ready.then(() => {
        const schema = schemaOf(options);
        const year = schema === 2 ? String(options.year ?? "") : null;
        return call((data, size, text) =>
          engine._quorvex_web_check(schema, data, size, text(year), text(languageOf(options))), bytes);
      });
    },
    convert(bytes, options = {}) {
      return api.ready.then(() => {
        const schema = schemaOf(options);
        return call((data, size, text) =>
          engine._quorvex_web_convert(schema, data, size, text(languageOf(options))), bytes);
      });
    },
    // An XML file read back (ReadXMLFile): its text in XMLData when it is plain
    // ASCII and well-formed. limit in bytes, -1 (the default) for none.
    readXml(bytes, options = {}) {
      return api.ready.then(() => {
        const limit = options.limit === undefined ? -1 : Number(options.limit);
        if (!Number.isInteger(limit)) throw new TypeError("limit must be an integer");
        return call((data, size, text) =>
          engine._quorvex_web_read_xml(data, size, limit, text(languageOf(options))), bytes);
      });
    },
  };

  // Schema 1 or 2 (the default); anything else reaches the engine, which
  // reports it like any other bad argument.
  function schemaOf(options) {
    const schema = options.schema === undefined ? 2 : Number(options.schema);
    return Number.isInteger(schema) ? schema : 0;
  }

  function languageOf(options) {
    return options.lang === "ja" ? "ja" : "en";
  }

  // Copies the bytes and the texts into the module's memory, runs the
  // operation and frees everything it allocated, whatever happens.
  function call(operation, bytes) {
    if (!(bytes instanceof Uint8Array)) throw new TypeError("bytes must be a Uint8Array");
    const allocated = [];
    const allocate = (size) => {
      const pointer = engine._malloc(Math.max(size, 1));
      if (pointer === 0) throw new RangeError("not enough memory for the file");
      allocated.push(pointer);
      return pointer;
    };
    const text = (value) => {
      if (value === null) return 0;
      const size = engine.lengthBytesUTF8(value) + 1;
      const pointer = allocate(size);
      engine.stringToUTF8(value, pointer, size);
      return pointer;
    };
    try {
      const data = allocate(bytes.length);
      engine.HEAPU8.set(bytes, data);
      const answer = operation(data, bytes.length, text);
      if (answer === 0) throw new RangeError("not enough memory for the result");
      return JSON.parse(engine.UTF8ToString(answer));
    } finally {
      allocated.forEach((pointer) => engine._free(pointer));
    }
  }

  api.ready = Promise.resolve(modulePromise).then((loaded) => {
    engine = loaded;
    api.version = engine.UTF8ToString(engine._quorvex_web_version());
    // Before the first file: so that the user's first check runs as fast as any later one.
    engine._quorvex_web_warm_up();
    return api;
  });
  return api;
}

if (typeof module === "object" && module.exports) {
  module.exports = { makeQuorvexApi };
} else {
  // quorvex.js, loaded before this file, defines the module's factory.
  window.quorvex = makeQuorvexApi(createQuorvexModule());
}
