// ProfileStrip: the profile under the map, tied to the replay and the map. The strip is drawn
// once; the replay's cursor, the pointer's line and its read-out are elements moved above it,
// and pointing at the strip puts a small marker on the map at that point.
// Takes the profile data's decodeProfile and the profile chart's drawing and texts.
function profileStripModule(profileData, profileChart) {
  var decodeProfile = profileData.decodeProfile;
  var drawProfile = profileChart.drawProfile;
  var dayText = profileChart.dayText;
  var timeOfDayText = profileChart.timeOfDayText;
  var SECONDS_PER_DAY = profileChart.SECONDS_PER_DAY;

  var PROFILE_HEIGHT = 120;

  function profileOverlay(parent, css) {
    var element = document.createElement("div");
    element.style.cssText = "position:absolute;pointer-events:none;" + css;
    parent.appendChild(element);
    return element;
  }

  // `map` is the page's GMap2, `element` the strip's container, `text` and `gaps` the page's
  // profile_points and profile_gaps, `firstDay` the first point's local date (days since
  // 1970-01-01); `jump(index)`, when given, moves the replay to a point.
  function ProfileStrip(map, element, text, gaps, firstDay, jump) {
    this._map = map;
    this._jump = jump;
    this._firstDay = firstDay;
    this.data = decodeProfile(text);
    this.cursorIndex = -1;

    var width = element.clientWidth || map.getSize().width;
    var height = element.clientHeight || PROFILE_HEIGHT;
    this.canvas = document.createElement("canvas");
    this.canvas.style.position = "absolute";
    this.canvas.style.left = "0px";
    this.canvas.style.top = "0px";
    element.appendChild(this.canvas);
    this.scale = drawProfile(this.canvas, this.data, gaps || [], firstDay, width, height);
    this._columns = this._nearestByColumn();

    var top = "top:" + this.scale.top + "px;height:" + this.scale.height + "px;";
    this._cursor = profileOverlay(element, top + "left:0px;width:0px;border-left:2px solid #e02020;display:none;");
    this._pointer = profileOverlay(element, top + "left:0px;width:0px;border-left:1px solid #555555;display:none;");
    this._readout = profileOverlay(
      element,
      "top:0px;left:" + (this.scale.left + 4) + "px;padding:0px 3px;background:rgba(255,255,255,0.85);" +
        "font:11px sans-serif;color:#222222;white-space:nowrap;display:none;"
    );
    this._marker = null;
    element.style.cursor = jump ? "pointer" : "crosshair";

    var self = this;
    element.addEventListener("mousemove", function (event) {
      self.point(self._indexAt(event, element));
    });
    element.addEventListener("mouseleave", function () {
      self.point(-1);
    });
    element.addEventListener("click", function (event) {
      var index = self._indexAt(event, element);
      if (index >= 0 && self._jump) self._jump(index);
    });
    if (jump) this.setCursor(0);
  }

  // For every pixel column of the plot, the point drawn nearest to it.
  ProfileStrip.prototype._nearestByColumn = function () {
    var scale = this.scale;
    var columns = Math.ceil(scale.width) + 1;
    var nearest = new Int32Array(columns).fill(-1);
    var distance = new Float64Array(columns).fill(Infinity);
    for (var i = 0; i < this.data.count; i++) {
      var x = this.xOf(i) - scale.left;
      var c = Math.min(Math.max(Math.round(x), 0), columns - 1);
      var d = Math.abs(x - c);
      if (d < distance[c]) {
        distance[c] = d;
        nearest[c] = i;
      }
    }
    // Columns without a point of their own take the nearest column's, from both sides.
    var last = -1;
    var lastColumn = -Infinity;
    var fromLeft = new Int32Array(columns);
    var fromLeftColumn = new Float64Array(columns);
    for (c = 0; c < columns; c++) {
      if (nearest[c] >= 0) {
        last = nearest[c];
        lastColumn = c;
      }
      fromLeft[c] = last;
      fromLeftColumn[c] = lastColumn;
    }
    last = -1;
    lastColumn = Infinity;
    for (c = columns - 1; c >= 0; c--) {
      if (nearest[c] >= 0) {
        last = nearest[c];
        lastColumn = c;
      }
      var useLeft = fromLeft[c] >= 0 && (last < 0 || c - fromLeftColumn[c] <= lastColumn - c);
      nearest[c] = useLeft ? fromLeft[c] : last;
    }
    return nearest;
  };

  ProfileStrip.prototype._indexAt = function (event, element) {
    if (!this._columns.length) return -1;
    var box = element.getBoundingClientRect();
    var c = Math.round(event.clientX - box.left - this.scale.left);
    return this._columns[Math.min(Math.max(c, 0), this._columns.length - 1)];
  };

  // The x position of point `index` in the strip, in CSS pixels.
  ProfileStrip.prototype.xOf = function (index) {
    return this.scale.x(this.data.time[index]);
  };

  // Puts the replay's cursor on point `index` (none when out of range); nothing is redrawn.
  ProfileStrip.prototype.setCursor = function (index) {
    if (!(index >= 0 && index < this.data.count)) {
      this.cursorIndex = -1;
      this._cursor.style.display = "none";
      return;
    }
    this.cursorIndex = index;
    this._cursor.style.left = Math.round(this.xOf(index)) - 1 + "px";
    this._cursor.style.display = "block";
  };

  // The read-out of point `index`: time, altitude, speed and distance.
  ProfileStrip.prototype.readout = function (index) {
    var data = this.data;
    var t = data.time[index];
    var day = Math.floor(t / SECONDS_PER_DAY);
    var spansDays = Math.floor(this.scale.t0 / SECONDS_PER_DAY) !== Math.floor(this.scale.t1 / SECONDS_PER_DAY);
    var parts = [(spansDays ? dayText(this._firstDay, day) + " " : "") + timeOfDayText(t, true)];
    if (data.altitude[index] === data.altitude[index]) parts.push(Math.round(data.altitude[index]) + " m");
    parts.push(data.kmh[index].toFixed(1) + " km/h");
    parts.push(data.km[index].toFixed(1) + " km");
    return parts.join("  ");
  };

  // Shows the pointer's line, read-out and map marker at point `index`, or hides them (-1).
  ProfileStrip.prototype.point = function (index) {
    var leaflet = this._map._leaflet;
    if (!(index >= 0 && index < this.data.count)) {
      this.pointIndex = -1;
      this._pointer.style.display = "none";
      this._readout.style.display = "none";
      if (this._marker) leaflet.removeLayer(this._marker);
      return;
    }
    this.pointIndex = index;
    this._pointer.style.left = Math.round(this.xOf(index)) + "px";
    this._pointer.style.display = "block";
    this._readout.textContent = this.readout(index);
    this._readout.style.display = "block";
    var position = window.points[index].toLeaflet();
    if (!this._marker) {
      this._marker = L.marker(position, {
        icon: L.divIcon({
          className: "profile-marker",
          html: '<div style="width:10px;height:10px;border-radius:6px;background:#ffffff;border:2px solid #e02020;"></div>',
          iconSize: [14, 14],
          iconAnchor: [7, 7],
        }),
        interactive: false,
        keyboard: false,
      });
    } else {
      this._marker.setLatLng(position);
    }
    if (!leaflet.hasLayer(this._marker)) this._marker.addTo(leaflet);
  };

  return { ProfileStrip: ProfileStrip };
}
