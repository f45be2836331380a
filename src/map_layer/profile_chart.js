// The profile strip's drawing: altitude as a filled area (left axis, metres) and speed as a
// line (right axis, km/h) against local time of day, date changes marked, reception-lost
// stretches shaded. Drawn once; the cursor and the pointer's read-out are elements above it.
// Takes nothing from the other parts.
function profileChartModule() {
  var PROFILE_MARGIN = { left: 40, right: 46, top: 6, bottom: 16 };
  var PROFILE_COLORS = {
    area: "#d9c7a0",
    speed: "#1f5fd0",
    grid: "#e4e4e4",
    gap: "rgba(0, 0, 0, 0.13)",
    day: "#c03030",
    text: "#333333",
  };
  var SECONDS_PER_DAY = 86400;

  // The smallest of 1, 2, 5 x 10^k that is at least `step`.
  function niceStep(step) {
    if (!(step > 0)) return 1;
    var power = Math.pow(10, Math.floor(Math.log10(step)));
    var steps = [1, 2, 5, 10];
    for (var i = 0; i < steps.length; i++) {
      if (steps[i] * power >= step) return steps[i] * power;
    }
    return 10 * power;
  }

  function twoDigits(n) {
    return (n < 10 ? "0" : "") + n;
  }

  // "h:mm" of seconds since midnight, "hh:mm:ss" with seconds.
  function timeOfDayText(seconds, withSeconds) {
    var s = ((Math.round(seconds) % SECONDS_PER_DAY) + SECONDS_PER_DAY) % SECONDS_PER_DAY;
    var text = twoDigits(Math.floor(s / 3600)) + ":" + twoDigits(Math.floor(s / 60) % 60);
    return withSeconds ? text + ":" + twoDigits(s % 60) : text;
  }

  // "m/d" of the day `offset` days after `firstDay` (days since 1970-01-01).
  function dayText(firstDay, offset) {
    var date = new Date((firstDay + offset) * SECONDS_PER_DAY * 1000);
    return date.getUTCMonth() + 1 + "/" + date.getUTCDate();
  }

  // The scales of `data` in a strip of `width` x `height` pixels.
  function profileScale(data, width, height) {
    var scale = {
      left: PROFILE_MARGIN.left,
      top: PROFILE_MARGIN.top,
      width: Math.max(width - PROFILE_MARGIN.left - PROFILE_MARGIN.right, 1),
      height: Math.max(height - PROFILE_MARGIN.top - PROFILE_MARGIN.bottom, 1),
      t0: Infinity,
      t1: -Infinity,
      altitudeMin: Infinity,
      altitudeMax: -Infinity,
      speedMax: 0,
      hasAltitude: false,
    };
    for (var i = 0; i < data.count; i++) {
      var t = data.time[i];
      if (t < scale.t0) scale.t0 = t;
      if (t > scale.t1) scale.t1 = t;
      if (data.kmh[i] > scale.speedMax) scale.speedMax = data.kmh[i];
      var a = data.altitude[i];
      if (a === a) {
        scale.hasAltitude = true;
        if (a < scale.altitudeMin) scale.altitudeMin = a;
        if (a > scale.altitudeMax) scale.altitudeMax = a;
      }
    }
    if (!(scale.t1 > scale.t0)) {
      // One moment: a minute around it.
      scale.t0 = data.count ? data.time[0] - 30 : 0;
      scale.t1 = scale.t0 + 60;
    }
    if (!scale.hasAltitude) {
      scale.altitudeMin = 0;
      scale.altitudeMax = 100;
    }
    // Whole ticks around the values, ten metres at least.
    var altitudeStep = niceStep(Math.max(scale.altitudeMax - scale.altitudeMin, 10) / 3);
    scale.altitudeMin = Math.floor(scale.altitudeMin / altitudeStep) * altitudeStep;
    scale.altitudeMax = Math.max(
      Math.ceil(scale.altitudeMax / altitudeStep) * altitudeStep,
      scale.altitudeMin + altitudeStep
    );
    scale.altitudeStep = altitudeStep;
    var speedStep = niceStep(Math.max(scale.speedMax, 10) / 3);
    scale.speedMax = Math.max(Math.ceil(scale.speedMax / speedStep), 1) * speedStep;
    scale.speedStep = speedStep;

    scale.x = function (t) {
      return scale.left + ((t - scale.t0) / (scale.t1 - scale.t0)) * scale.width;
    };
    scale.yAltitude = function (a) {
      return (
        scale.top +
        scale.height -
        ((a - scale.altitudeMin) / (scale.altitudeMax - scale.altitudeMin)) * scale.height
      );
    };
    scale.ySpeed = function (v) {
      return scale.top + scale.height - (v / scale.speedMax) * scale.height;
    };
    return scale;
  }

  function drawTimeAxis(context, scale) {
    var bottom = scale.top + scale.height;
    var span = scale.t1 - scale.t0;
    var steps = [60, 300, 600, 1800, 3600, 7200, 10800, 21600, 43200, SECONDS_PER_DAY];
    var step = steps[steps.length - 1];
    for (var i = 0; i < steps.length; i++) {
      if ((steps[i] / span) * scale.width >= 64) {
        step = steps[i];
        break;
      }
    }
    context.textAlign = "center";
    context.textBaseline = "top";
    for (var t = Math.ceil(scale.t0 / step) * step; t <= scale.t1; t += step) {
      var x = Math.round(scale.x(t)) + 0.5;
      context.strokeStyle = PROFILE_COLORS.grid;
      context.beginPath();
      context.moveTo(x, scale.top);
      context.lineTo(x, bottom);
      context.stroke();
      // Labels too near an end would run into the axes' units.
      if (x < scale.left + 14 || x > scale.left + scale.width - 14) continue;
      context.fillStyle = PROFILE_COLORS.text;
      context.fillText(timeOfDayText(t, false), x, bottom + 2);
    }
  }

  // Each change of date: a dashed line with the new date, over everything else.
  function drawDayMarks(context, scale, firstDay) {
    var bottom = scale.top + scale.height;
    context.setLineDash([3, 3]);
    context.strokeStyle = PROFILE_COLORS.day;
    context.fillStyle = PROFILE_COLORS.day;
    context.textAlign = "left";
    for (var day = Math.floor(scale.t0 / SECONDS_PER_DAY) + 1; day * SECONDS_PER_DAY <= scale.t1; day++) {
      var dayX = Math.round(scale.x(day * SECONDS_PER_DAY)) + 0.5;
      context.beginPath();
      context.moveTo(dayX, scale.top);
      context.lineTo(dayX, bottom);
      context.stroke();
      context.fillText(dayText(firstDay, day), dayX + 2, scale.top);
    }
    context.setLineDash([]);
  }

  function drawValueAxes(context, scale) {
    var right = scale.left + scale.width;
    context.textBaseline = "middle";
    context.fillStyle = PROFILE_COLORS.text;
    if (scale.hasAltitude) {
      context.textAlign = "right";
      for (var a = scale.altitudeMin; a <= scale.altitudeMax; a += scale.altitudeStep) {
        context.fillText(String(a), scale.left - 4, scale.yAltitude(a));
      }
      context.fillText("m", scale.left - 4, scale.top + scale.height + 8);
    }
    context.textAlign = "left";
    for (var v = 0; v <= scale.speedMax; v += scale.speedStep) {
      context.fillText(String(v), right + 4, scale.ySpeed(v));
    }
    context.fillText("km/h", right + 4, scale.top + scale.height + 8);
  }

  // Shades each reception-lost stretch, given as pairs of first and last point index.
  function drawGaps(context, data, scale, gaps) {
    context.fillStyle = PROFILE_COLORS.gap;
    for (var g = 0; g + 1 < gaps.length; g += 2) {
      var first = gaps[g];
      var last = gaps[g + 1];
      if (!(first >= 0 && last < data.count && first <= last)) continue;
      var x0 = scale.x(data.time[first]);
      var x1 = scale.x(data.time[last]);
      context.fillRect(Math.min(x0, x1), scale.top, Math.max(Math.abs(x1 - x0), 1), scale.height);
    }
  }

  // Calls visit(x, y) for the corners of the line through points `from` to `to` of `values`: at
  // most four a device pixel column (its first, lowest, highest and last point, in their order),
  // so that a column's many points cost four corners and every point still lies on the line.
  function reducedLine(data, values, from, to, scale, y, ratio, visit) {
    var column = NaN;
    var first, low, high, last;
    function flush() {
      if (column !== column) return;
      var picks = [first, low, high, last].sort(function (a, b) {
        return a - b;
      });
      for (var k = 0; k < 4; k++) {
        if (k > 0 && picks[k] === picks[k - 1]) continue;
        visit(scale.x(data.time[picks[k]]), y(values[picks[k]]));
      }
    }
    for (var i = from; i <= to; i++) {
      var c = Math.floor(scale.x(data.time[i]) * ratio);
      if (c !== column) {
        flush();
        column = c;
        first = low = high = last = i;
        continue;
      }
      last = i;
      if (values[i] < values[low]) low = i;
      if (values[i] > values[high]) high = i;
    }
    flush();
  }

  // The altitude as an area over the base line, one piece per run of points that have one.
  function drawAltitude(context, data, scale, ratio) {
    var bottom = scale.top + scale.height;
    context.fillStyle = PROFILE_COLORS.area;
    function piece(first, last) {
      context.beginPath();
      if (first === last) {
        // A lone point: a narrow bar.
        var top = scale.yAltitude(data.altitude[first]);
        context.rect(scale.x(data.time[first]) - 1.5, top, 3, bottom - top);
      } else {
        context.moveTo(scale.x(data.time[first]), bottom);
        reducedLine(data, data.altitude, first, last, scale, scale.yAltitude, ratio, function (x, y) {
          context.lineTo(x, y);
        });
        context.lineTo(scale.x(data.time[last]), bottom);
        context.closePath();
      }
      context.fill();
    }
    var run = -1;
    for (var i = 0; i <= data.count; i++) {
      var known = i < data.count && data.altitude[i] === data.altitude[i];
      if (known && run < 0) run = i;
      if (!known && run >= 0) {
        piece(run, i - 1);
        run = -1;
      }
    }
  }

  function drawSpeed(context, data, scale, ratio) {
    context.strokeStyle = PROFILE_COLORS.speed;
    context.lineWidth = 1.5;
    context.lineJoin = "round";
    context.beginPath();
    var started = false;
    reducedLine(data, data.kmh, 0, data.count - 1, scale, scale.ySpeed, ratio, function (x, y) {
      if (started) {
        context.lineTo(x, y);
      } else {
        context.moveTo(x, y);
        started = true;
      }
    });
    if (data.count === 1) context.lineTo(scale.x(data.time[0]) + 1, scale.ySpeed(data.kmh[0]));
    context.stroke();
  }

  // Draws the whole strip on `canvas` (its size in CSS pixels: width x height).
  function drawProfile(canvas, data, gaps, firstDay, width, height) {
    var ratio = window.devicePixelRatio || 1;
    canvas.width = Math.round(width * ratio);
    canvas.height = Math.round(height * ratio);
    canvas.style.width = width + "px";
    canvas.style.height = height + "px";
    var context = canvas.getContext("2d");
    context.setTransform(ratio, 0, 0, ratio, 0, 0);
    context.font = "10px sans-serif";
    var scale = profileScale(data, width, height);
    drawGaps(context, data, scale, gaps);
    drawTimeAxis(context, scale);
    if (scale.hasAltitude) drawAltitude(context, data, scale, ratio);
    drawSpeed(context, data, scale, ratio);
    drawDayMarks(context, scale, firstDay);
    drawValueAxes(context, scale);
    return scale;
  }

  return {
    SECONDS_PER_DAY: SECONDS_PER_DAY,
    dayText: dayText,
    timeOfDayText: timeOfDayText,
    drawProfile: drawProfile,
  };
}
