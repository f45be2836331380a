// A stand-in for the version 2 map API, served in place of its loader. It implements only the
// classes, functions and constants that the map page calls, and records in window.__mapApi what
// the page does with them, so that the browser test can compare it with the page's data.
(function () {
  "use strict";
  var record = {
    maps: [],
    centers: [], // [lat, lng, zoom]
    pans: [], // [lat, lng]
    infoWindows: [], // html of every information window opened
    unloaded: false,
  };
  window.__mapApi = record;

  function GLatLng(lat, lng) {
    this._lat = lat;
    this._lng = lng;
  }
  GLatLng.prototype.lat = function () {
    return this._lat;
  };
  GLatLng.prototype.lng = function () {
    return this._lng;
  };

  function GLatLngBounds(southWest, northEast) {
    this.southWest = southWest;
    this.northEast = northEast;
  }

  function GSize(width, height) {
    this.width = width;
    this.height = height;
  }

  function GPoint(x, y) {
    this.x = x;
    this.y = y;
  }

  function GIcon() {}

  var GEvent = {
    addListener: function (source, name, handler) {
      source.__listeners = source.__listeners || {};
      (source.__listeners[name] = source.__listeners[name] || []).push(handler);
      return { source: source, name: name, handler: handler };
    },
    trigger: function (source, name) {
      var args = Array.prototype.slice.call(arguments, 2);
      var handlers = (source.__listeners && source.__listeners[name]) || [];
      for (var i = 0; i < handlers.length; i++) handlers[i].apply(source, args);
    },
  };

  function GMarker(point, icon) {
    if (!(point instanceof GLatLng)) throw new Error("GMarker needs a GLatLng");
    this.point = point;
    this.icon = icon;
  }
  GMarker.prototype.getLatLng = function () {
    return this.point;
  };
  GMarker.prototype.openInfoWindowHtml = function (html) {
    record.infoWindows.push(html);
  };

  function GPolyline(points, color, weight, opacity) {
    for (var i = 0; i < points.length; i++) {
      if (!(points[i] instanceof GLatLng)) throw new Error("GPolyline needs GLatLng points");
    }
    this.points = points;
    this.color = color;
    this.weight = weight;
    this.opacity = opacity;
  }

  function GControl() {}
  GControl.prototype.initialize = function (map) {
    var element = document.createElement("div");
    map.getContainer().appendChild(element);
    return element;
  };
  GControl.prototype.getDefaultPosition = function () {
    return new GControlPosition(G_ANCHOR_TOP_LEFT, new GSize(0, 0));
  };

  function GControlPosition(anchor, offset) {
    this.anchor = anchor;
    this.offset = offset;
  }
  var G_ANCHOR_TOP_LEFT = 0;

  // The map's own controls.
  function builtInControl(name) {
    var control = function () {
      this.builtIn = name;
    };
    control.prototype = new GControl();
    return control;
  }

  function GMap2(container) {
    if (!container) throw new Error("GMap2 needs its container");
    this.container = container;
    container.style.position = "relative"; // controls are placed inside the map's area
    this.overlays = [];
    this.controls = []; // {control, element}
    this.mapType = null;
    this.doubleClickZoom = false;
    record.maps.push(this);
  }
  GMap2.prototype.getContainer = function () {
    return this.container;
  };
  GMap2.prototype.getSize = function () {
    return new GSize(this.container.offsetWidth, this.container.offsetHeight);
  };
  GMap2.prototype.addControl = function (control, position) {
    if (!(control instanceof GControl)) throw new Error("addControl needs a GControl");
    var element = control.initialize(this);
    var where = position || control.getDefaultPosition();
    if (element && where && where.offset) {
      element.style.position = "absolute";
      element.style.left = where.offset.width + "px";
      element.style.top = where.offset.height + "px";
    }
    this.controls.push({ control: control, element: element });
  };
  GMap2.prototype.removeControl = function (control) {
    for (var i = 0; i < this.controls.length; i++) {
      if (this.controls[i].control === control) {
        var element = this.controls[i].element;
        if (element && element.parentNode) element.parentNode.removeChild(element);
        this.controls.splice(i, 1);
        return;
      }
    }
  };
  GMap2.prototype.setCenter = function (point, zoom) {
    if (!(point instanceof GLatLng)) throw new Error("setCenter needs a GLatLng");
    record.centers.push([point.lat(), point.lng(), zoom]);
  };
  GMap2.prototype.panTo = function (point) {
    if (!(point instanceof GLatLng)) throw new Error("panTo needs a GLatLng");
    record.pans.push([point.lat(), point.lng()]);
  };
  GMap2.prototype.getBoundsZoomLevel = function (bounds) {
    if (!(bounds instanceof GLatLngBounds)) throw new Error("getBoundsZoomLevel needs bounds");
    this.fittedBounds = bounds;
    return 11;
  };
  GMap2.prototype.setMapType = function (type) {
    this.mapType = type;
  };
  GMap2.prototype.enableDoubleClickZoom = function () {
    this.doubleClickZoom = true;
  };
  GMap2.prototype.addOverlay = function (overlay) {
    if (!(overlay instanceof GMarker) && !(overlay instanceof GPolyline)) {
      throw new Error("addOverlay needs a marker or a polyline");
    }
    this.overlays.push(overlay);
  };
  GMap2.prototype.removeOverlay = function (overlay) {
    var at = this.overlays.indexOf(overlay);
    if (at >= 0) this.overlays.splice(at, 1);
  };

  function GKeyboardHandler(map) {
    if (!(map instanceof GMap2)) throw new Error("GKeyboardHandler needs the map");
    this.map = map;
  }

  window.GLatLng = GLatLng;
  window.GLatLngBounds = GLatLngBounds;
  window.GSize = GSize;
  window.GPoint = GPoint;
  window.GIcon = GIcon;
  window.GEvent = GEvent;
  window.GMarker = GMarker;
  window.GPolyline = GPolyline;
  window.GControl = GControl;
  window.GControlPosition = GControlPosition;
  window.G_ANCHOR_TOP_LEFT = G_ANCHOR_TOP_LEFT;
  window.GMap2 = GMap2;
  window.GKeyboardHandler = GKeyboardHandler;
  window.GLargeMapControl = builtInControl("GLargeMapControl");
  window.GMapTypeControl = builtInControl("GMapTypeControl");
  window.GScaleControl = builtInControl("GScaleControl");
  window.GOverviewMapControl = builtInControl("GOverviewMapControl");
  window.G_NORMAL_MAP = { name: "G_NORMAL_MAP" };
  window.GBrowserIsCompatible = function () {
    return true;
  };
  window.GUnload = function () {
    record.unloaded = true;
  };
})();
