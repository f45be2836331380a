// GEvent: named events of the layer's objects (a marker's "click"). Takes nothing from the other
// parts.
function eventsModule() {
  var GEvent = {
    // Calls `handler` with the object as `this` whenever `source` fires `name`.
    addListener: function (source, name, handler) {
      var listeners = source.__gEventListeners || (source.__gEventListeners = {});
      var listener = { source: source, name: name, handler: handler };
      (listeners[name] = listeners[name] || []).push(listener);
      return listener;
    },

    // Fires `name` on `source`; further arguments go to the handlers.
    trigger: function (source, name) {
      var list = source.__gEventListeners && source.__gEventListeners[name];
      if (!list) return;
      var args = Array.prototype.slice.call(arguments, 2);
      list.slice().forEach(function (listener) {
        listener.handler.apply(source, args);
      });
    },
  };

  return { GEvent: GEvent };
}
