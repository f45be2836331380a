// The map's own controls. Each wraps a Leaflet control, which Leaflet places in its corner.
// Takes the control's GControl and the tiles' MAP_TYPES.
function mapControlsModule(control, tiles) {
  var GControl = control.GControl;
  var MAP_TYPES = tiles.MAP_TYPES;

  // A GControl type whose element is the Leaflet control that `makeControl(map)` makes.
  function leafletControlType(makeControl) {
    var type = function () {};
    type.prototype = new GControl();
    type.prototype.initialize = function (map) {
      this._leafletControl = makeControl(map);
      this._leafletControl.addTo(map._leaflet);
      return this._leafletControl.getContainer();
    };
    type.prototype.getDefaultPosition = function () {
      return null;
    };
    return type;
  }

  // Zoom in and out, top left.
  var GLargeMapControl = leafletControlType(function () {
    return L.control.zoom({ position: "topleft", zoomInTitle: "拡大", zoomOutTitle: "縮小" });
  });

  // Metric and imperial scale, bottom left.
  var GScaleControl = leafletControlType(function () {
    return L.control.scale({ position: "bottomleft" });
  });

  // One button per map type, top right; the shown type's button is pressed.
  var MapTypeButtons = L.Control.extend({
    options: { position: "topright" },

    initialize: function (map) {
      this._gmap = map;
      this._buttons = [];
    },

    onAdd: function () {
      var container = L.DomUtil.create("div", "leaflet-bar map-type-control");
      container.style.display = "flex";
      var self = this;
      MAP_TYPES.forEach(function (type) {
        var button = L.DomUtil.create("a", "map-type-button", container);
        button.href = "#";
        button.setAttribute("role", "button");
        button.textContent = type.getName();
        button.style.width = "auto";
        button.style.height = "20px";
        button.style.lineHeight = "20px";
        button.style.padding = "0 6px";
        button.style.borderBottom = "none";
        button.mapType = type;
        L.DomEvent.on(button, "click", function (event) {
          L.DomEvent.preventDefault(event);
          self._gmap.setMapType(type);
        });
        self._buttons.push(button);
      });
      L.DomEvent.disableClickPropagation(container);
      this.mapTypeChanged(this._gmap.getCurrentMapType());
      return container;
    },

    // Marks the button of the map's current type.
    mapTypeChanged: function (current) {
      this._buttons.forEach(function (button) {
        button.style.fontWeight = button.mapType === current ? "bold" : "normal";
        button.setAttribute("aria-pressed", button.mapType === current ? "true" : "false");
      });
    },
  });

  var GMapTypeControl = leafletControlType(function (map) {
    var control = new MapTypeButtons(map);
    map._typeControls.push(control);
    return control;
  });

  return {
    leafletControlType: leafletControlType,
    GLargeMapControl: GLargeMapControl,
    GScaleControl: GScaleControl,
    GMapTypeControl: GMapTypeControl,
  };
}
