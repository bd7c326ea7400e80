#!/usr/bin/env python3
"""A local imitation of the marketplace's H5 API gateway, for tests and benchmarks.

Serves http://127.0.0.1:<port>/h5/mtop.taobao.wireless.share.password.getpasswordshareinfo/1.0/
and behaves as the real gateway does towards Miravel:

  * Unsigned request (query keys exactly v, api, appKey, callback, type, t):
    the warm-up. Answers `mtopjsonp1({...})` with ret
    ["FAIL_SYS_TOKEN_EMPTY::令牌为空"] and sets two fresh cookies,
      _m_h5_tk=<32 lower-hex>_<13-digit expiry in ms>;Path=/;Domain=<host>;Max-Age=604800;SameSite=None;Secure
      _m_h5_tk_enc=<32 lower-hex>;Path=/;Domain=<host>;Max-Age=604800;SameSite=None;Secure
  * Signed request (query keys exactly v, api, appKey, t, callback, type, sign, data):
    checked strictly; a request that breaks the shape gets
    ret ["FAIL_SYS_PARAMINVALID_ERROR::参数错误"] and the header
    X-Fake-Gateway-Reject naming the broken rule. Checked, in order:
      - path, query keys and their order, the fixed values v=1.0, api, appKey=30916652,
        callback=mtopjsonp1, type=jsonp;
      - t: 13 digits, within five minutes of the true time;
      - data: every byte other than A-Z a-z 0-9 "-" "." written as %XX with upper-case hex
        (nothing else encoded, nothing left raw), decoding to valid UTF-8 JSON: one object
        with the string keys url, passwordType ("tao"), sourceType ("other"), title, bizId
        ("mama-taobaolianmeng") in that order and nothing else;
      - token: the _m_h5_tk cookie of the Cookie header (its text before the first "_"):
        none -> FAIL_SYS_TOKEN_EMPTY::令牌为空, not issued by this gateway ->
        FAIL_SYS_TOKEN_ILLEGAL::非法令牌, past its expiry -> FAIL_SYS_TOKEN_EXOIRED::令牌过期;
        each of these answers also sets fresh cookies;
      - sign: md5(token "&" t "&" appKey "&" data) as 32 lower-hex digits; a wrong one gets
        FAIL_SYS_ILLEGAL_ACCESS::非法请求 and no "￥" anywhere in the answer.
    A request that passes gets ret ["SUCCESS::调用成功"] and a data object whose
    "password" and "content" hold the share password between two "￥" (UTF-8 EF BF A5);
    with --answer other than normal and two, only "password" is there, framed as asked.
    The code is derived from the url and the title, so one link always gets one code.

Like the real gateway, it sometimes writes the cookie header as lower-case "set-cookie" and
sometimes begins the JSONP answer with a space (see the switches).

Command line (all optional):
  --port N                  listen on 127.0.0.1:N (default 0: a free port). The first line on
                            standard output is "PORT <n>"; nothing else is printed.
  --answer MODE             how a successful answer frames the code (default normal):
                              normal    "￥CODE￥" in password and content
                              one       a single "￥" before the code, none after it
                              none      the code without any "￥"
                              adjacent  "￥￥" (an empty code) before the code
                              two       two framed codes, "￥CODE￥ ￥OTHER￥"
  --token-lifetime SECONDS  expiry written into _m_h5_tk and enforced (default 3600)
  --set-cookie-case CASE    canonical ("Set-Cookie"), lower ("set-cookie") or alternate
                            (default: alternates from answer to answer, canonical first)
  --leading-space WHEN      never, always or alternate (default alternate, none first)
  --domain HOST             the Domain attribute of the cookies (default: the host of the
                            request's Host header, without the port)
  --delay-ms N              wait N milliseconds before every gateway answer (default 0)

Control paths (GET; answered with JSON, never with cookies):
  /_fake/expire             every token issued so far is expired from now on
  /_fake/answer?mode=MODE   switch the framing of later successful answers (modes as above)
  /_fake/last               the last gateway request and its verdict:
                            {"kind": "warmup"|"signed"|"rejected", "path", "query", "cookie",
                             "ret", "reject", "data" (decoded JSON or null), "password",
                             "token", "issued" (the _m_h5_tk value set, or null)}
  /_fake/last-data          the decoded data text of the last signed request that got that far,
                            as the UTF-8 bytes sent (text/plain; empty before one)
  /_fake/last-title         its "title" value after JSON decoding, as UTF-8 (text/plain)
  /_fake/stats              {"warmups", "signed", "successes", "rejected", "issued"}
  /_fake/reset              forget every token and request, back to the start-up switches
Any other path gets 404 with a JSONP body, ret ["FAIL_SYS_API_NOT_FOUNDED::请求API不存在"].
"""

import argparse
import hashlib
import json
import re
import secrets
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

API = "mtop.taobao.wireless.share.password.getpasswordshareinfo"
PATH = "/h5/" + API + "/1.0/"
APP_KEY = "30916652"
WARMUP_KEYS = ["v", "api", "appKey", "callback", "type", "t"]
SIGNED_KEYS = ["v", "api", "appKey", "t", "callback", "type", "sign", "data"]
FIXED_VALUES = {"v": "1.0", "api": API, "appKey": APP_KEY, "callback": "mtopjsonp1",
                "type": "jsonp"}
DATA_KEYS = ["url", "passwordType", "sourceType", "title", "bizId"]
DATA_FIXED = {"passwordType": "tao", "sourceType": "other", "bizId": "mama-taobaolianmeng"}
YEN = "\uffe5"
ANSWER_MODES = ("normal", "one", "none", "adjacent", "two")

RET_TOKEN_EMPTY = "FAIL_SYS_TOKEN_EMPTY::令牌为空"
RET_TOKEN_ILLEGAL = "FAIL_SYS_TOKEN_ILLEGAL::非法令牌"
RET_TOKEN_EXPIRED = "FAIL_SYS_TOKEN_EXOIRED::令牌过期"
RET_ILLEGAL_ACCESS = "FAIL_SYS_ILLEGAL_ACCESS::非法请求"
RET_PARAM_INVALID = "FAIL_SYS_PARAMINVALID_ERROR::参数错误"
RET_NOT_FOUND = "FAIL_SYS_API_NOT_FOUNDED::请求API不存在"
RET_SUCCESS = "SUCCESS::调用成功"

UNRESERVED = set(b"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-.")
CODE_ALPHABET = "ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnpqrstuvwxyz23456789"


def percent_encode(raw: bytes) -> str:
    return "".join(chr(b) if b in UNRESERVED else "%%%02X" % b for b in raw)


def percent_decode(text: str) -> bytes:
    out = bytearray()
    i = 0
    while i < len(text):
        if text[i] == "%":
            out.append(int(text[i + 1:i + 3], 16))
            i += 3
        else:
            out.append(ord(text[i]))
            i += 1
    return bytes(out)


def share_code(url: str, title: str, salt: str = "") -> str:
    digest = hashlib.md5((salt + url + "\n" + title).encode("utf-8")).digest()
    return "".join(CODE_ALPHABET[b % len(CODE_ALPHABET)] for b in digest[:11])


class Reject(Exception):
    """A request the gateway refuses; `ret` is its message, `reason` says why."""

    def __init__(self, ret, reason, fresh_cookies=False):
        super().__init__(reason)
        self.ret = ret
        self.reason = reason
        self.fresh_cookies = fresh_cookies


class Gateway:
    def __init__(self, options):
        self.options = options
        self.lock = threading.Lock()
        self.reset()

    def reset(self):
        self.tokens = {}  # token -> expiry in ms
        self.answer_mode = self.options.answer
        self.answers = 0
        self.last = {}
        self.last_data_text = ""
        self.last_title = ""
        self.stats = {"warmups": 0, "signed": 0, "successes": 0, "rejected": 0, "issued": 0}

    def issue_token(self):
        token = secrets.token_hex(16)
        expiry = int(time.time() * 1000) + self.options.token_lifetime * 1000
        self.tokens[token] = expiry
        self.stats["issued"] += 1
        return "%s_%d" % (token, expiry), secrets.token_hex(16)

    def expire_all(self):
        now = int(time.time() * 1000)
        for token in self.tokens:
            self.tokens[token] = min(self.tokens[token], now - 1)


def parse_query(raw_query):
    pairs = []
    for piece in raw_query.split("&") if raw_query else []:
        if "=" not in piece:
            raise Reject(RET_PARAM_INVALID, "query piece without '=': " + piece)
        key, value = piece.split("=", 1)
        pairs.append((key, value))
    return pairs


def check_t(value):
    if not re.fullmatch(r"\d{13}", value):
        raise Reject(RET_PARAM_INVALID, "t is not 13 digits: " + value)
    if abs(int(value) - int(time.time() * 1000)) > 5 * 60 * 1000:
        raise Reject(RET_PARAM_INVALID, "t is more than five minutes off: " + value)


def check_data(raw):
    if not re.fullmatch(r"(?:[A-Za-z0-9.\-]|%[0-9A-F]{2})*", raw):
        raise Reject(RET_PARAM_INVALID, "data holds a raw or badly escaped byte")
    decoded = percent_decode(raw)
    if percent_encode(decoded) != raw:
        raise Reject(RET_PARAM_INVALID, "data encodes a byte that must stay as it is")
    try:
        text = decoded.decode("utf-8")
    except UnicodeDecodeError:
        raise Reject(RET_PARAM_INVALID, "data is not valid UTF-8")
    try:
        pairs = json.loads(text, object_pairs_hook=lambda p: p)
    except ValueError as error:
        raise Reject(RET_PARAM_INVALID, "data is not valid JSON: %s" % error)
    if not isinstance(pairs, list) or [k for k, _ in pairs] != DATA_KEYS:
        raise Reject(RET_PARAM_INVALID, "data keys are not url, passwordType, sourceType, "
                     "title, bizId in that order")
    data = dict(pairs)
    if not all(isinstance(v, str) for v in data.values()):
        raise Reject(RET_PARAM_INVALID, "a data value is not a string")
    for key, value in DATA_FIXED.items():
        if data[key] != value:
            raise Reject(RET_PARAM_INVALID, "data %s is not %s" % (key, value))
    return text, data


def token_from_cookie_header(header):
    for piece in (header or "").split(";"):
        name, _, value = piece.strip().partition("=")
        if name == "_m_h5_tk":
            return value.split("_", 1)[0]
    return ""


class Handler(BaseHTTPRequestHandler):
    def version_string(self):
        return "Tengine"

    def log_message(self, format, *args):  # keep standard error quiet
        pass

    def do_GET(self):
        gateway = self.server.gateway
        path, _, query = self.path.partition("?")
        if path.startswith("/_fake/"):
            with gateway.lock:
                self.control(gateway, path, query)
            return
        if gateway.options.delay_ms:
            time.sleep(gateway.options.delay_ms / 1000.0)
        with gateway.lock:
            self.gateway_answer(gateway, path, query)

    def control(self, gateway, path, query):
        if path == "/_fake/expire":
            gateway.expire_all()
            body = {"expired": len(gateway.tokens)}
        elif path == "/_fake/answer":
            mode = urllib.parse.parse_qs(query).get("mode", [""])[0]
            if mode not in ANSWER_MODES:
                self.reply(400, json.dumps({"error": "unknown mode"}).encode(), [])
                return
            gateway.answer_mode = mode
            body = {"mode": mode}
        elif path == "/_fake/last":
            body = gateway.last
        elif path in ("/_fake/last-data", "/_fake/last-title"):
            text = gateway.last_data_text if path == "/_fake/last-data" else gateway.last_title
            self.reply(200, text.encode("utf-8"), [], "text/plain;charset=UTF-8")
            return
        elif path == "/_fake/stats":
            body = gateway.stats
        elif path == "/_fake/reset":
            gateway.reset()
            body = {"reset": True}
        else:
            self.reply(404, b'{"error": "unknown control path"}', [])
            return
        self.reply(200, json.dumps(body, ensure_ascii=False).encode("utf-8"), [],
                   "application/json;charset=UTF-8")

    def gateway_answer(self, gateway, path, query):
        cookie = self.headers.get("Cookie", "")
        record = {"kind": "rejected", "path": path, "query": query, "cookie": cookie,
                  "ret": None, "reject": None, "data": None, "password": None,
                  "token": token_from_cookie_header(cookie), "issued": None}
        extra = []
        if path != PATH:
            record["ret"] = RET_NOT_FOUND
            record["reject"] = "unknown path " + path
            gateway.last = record
            self.reply(404, self.jsonp(gateway, RET_NOT_FOUND, {}), [])
            return
        try:
            pairs = parse_query(query)
            keys = [k for k, _ in pairs]
            if keys == WARMUP_KEYS:
                self.check_fixed(pairs)
                check_t(dict(pairs)["t"])
                gateway.stats["warmups"] += 1
                record["kind"] = "warmup"
                raise Reject(RET_TOKEN_EMPTY, None, fresh_cookies=True)
            if keys != SIGNED_KEYS:
                raise Reject(RET_PARAM_INVALID, "query keys out of shape: " + ",".join(keys))
            self.check_fixed(pairs)
            values = dict(pairs)
            check_t(values["t"])
            gateway.stats["signed"] += 1
            record["kind"] = "signed"
            text, data = check_data(values["data"])
            record["data"] = data
            gateway.last_data_text = text
            gateway.last_title = data["title"]
            self.check_token(gateway, record["token"])
            sign_input = "&".join([record["token"], values["t"], APP_KEY, text])
            expected = hashlib.md5(sign_input.encode("utf-8")).hexdigest()
            if values["sign"] != expected:
                raise Reject(RET_ILLEGAL_ACCESS, "sign differs from md5 of the token, t, "
                             "appKey and data")
            payload, password = self.success(gateway, data)
            record["ret"] = RET_SUCCESS
            record["password"] = password
            gateway.stats["successes"] += 1
            gateway.last = record
            self.reply(200, self.jsonp(gateway, RET_SUCCESS, payload), [])
        except Reject as reject:
            if reject.reason is not None:
                gateway.stats["rejected"] += 1
                extra.append(("X-Fake-Gateway-Reject", reject.reason.encode("unicode_escape")
                              .decode("ascii")))
            if reject.fresh_cookies:
                value, enc = gateway.issue_token()
                record["issued"] = value
                extra += self.cookie_headers(gateway, value, enc)
            record["ret"] = reject.ret
            record["reject"] = reject.reason
            gateway.last = record
            self.reply(200, self.jsonp(gateway, reject.ret, {}), extra)

    def check_fixed(self, pairs):
        for key, value in pairs:
            if key in FIXED_VALUES and value != FIXED_VALUES[key]:
                raise Reject(RET_PARAM_INVALID, "%s is %s, not %s" % (key, value,
                                                                       FIXED_VALUES[key]))

    def check_token(self, gateway, token):
        if not token:
            raise Reject(RET_TOKEN_EMPTY, "no _m_h5_tk cookie", fresh_cookies=True)
        if token not in gateway.tokens:
            raise Reject(RET_TOKEN_ILLEGAL, "token not issued here", fresh_cookies=True)
        if gateway.tokens[token] < int(time.time() * 1000):
            raise Reject(RET_TOKEN_EXPIRED, "token expired", fresh_cookies=True)

    def success(self, gateway, data):
        code = share_code(data["url"], data["title"])
        mode = gateway.answer_mode
        if mode == "normal":
            password = YEN + code + YEN
        elif mode == "one":
            password = YEN + code
        elif mode == "none":
            password = code
        elif mode == "adjacent":
            password = YEN + YEN + code
        else:
            password = "%s%s%s %s%s%s" % (YEN, code, YEN, YEN,
                                          share_code(data["url"], data["title"], "other"), YEN)
        payload = {"password": password, "url": data["url"], "validDate": "30天"}
        if mode in ("normal", "two"):  # keep the one-sign answer at exactly one "￥"
            payload["content"] = password
        return payload, password

    def jsonp(self, gateway, ret, data):
        gateway.answers += 1
        body = json.dumps({"api": API, "data": data, "ret": [ret], "v": "1.0"},
                          ensure_ascii=False, separators=(",", ":"))
        space = {"never": False, "always": True,
                 "alternate": gateway.answers % 2 == 0}[gateway.options.leading_space]
        return ((" " if space else "") + "mtopjsonp1(" + body + ")").encode("utf-8")

    def cookie_headers(self, gateway, value, enc):
        name = {"canonical": "Set-Cookie", "lower": "set-cookie",
                "alternate": "set-cookie" if gateway.stats["issued"] % 2 == 0 else "Set-Cookie"}[
            gateway.options.set_cookie_case]
        domain = gateway.options.domain or (self.headers.get("Host", "") or "").split(":")[0]
        attributes = ";Path=/;Domain=%s;Max-Age=604800;SameSite=None;Secure" % domain
        return [(name, "_m_h5_tk=" + value + attributes),
                (name, "_m_h5_tk_enc=" + enc + attributes)]

    def reply(self, status, body, extra_headers, content_type="application/json;charset=UTF-8"):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        for name, value in extra_headers:
            self.send_header(name, value)
        self.end_headers()
        self.wfile.write(body)


def main():
    parser = argparse.ArgumentParser(description="local imitation of the H5 API gateway")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--answer", choices=ANSWER_MODES, default="normal")
    parser.add_argument("--token-lifetime", type=int, default=3600)
    parser.add_argument("--set-cookie-case", choices=("canonical", "lower", "alternate"),
                        default="alternate")
    parser.add_argument("--leading-space", choices=("never", "always", "alternate"),
                        default="alternate")
    parser.add_argument("--domain", default="")
    parser.add_argument("--delay-ms", type=int, default=0)
    options = parser.parse_args()

    server = ThreadingHTTPServer(("127.0.0.1", options.port), Handler)
    server.daemon_threads = True
    server.gateway = Gateway(options)
    print("PORT %d" % server.server_address[1], flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    import signal
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    main()
