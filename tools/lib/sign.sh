# Authenticode signing of a release program with osslsigncode, for
# tools/release and its test. Source this file; it defines functions only.
#
#   sign_wanted              true when TW_SIGN_CERT names a certificate
#   sign_check_settings      fail with a message when the TW_SIGN_* settings
#                            cannot sign (a missing file, a key without its
#                            certificate, PEM without TW_SIGN_KEY)
#   sign_program IN OUT      sign IN as OUT with SHA-256 (and the timestamp of
#                            TW_SIGN_TIMESTAMP when set)
#   sign_verify FILE         osslsigncode verify FILE against TW_SIGN_CA, or
#                            else the certificates of TW_SIGN_CERT, and its
#                            time stamp when TW_SIGN_TIMESTAMP is set
#
# Settings:
#   TW_SIGN_CERT       PEM certificate (the signer's first, then the rest of
#                      its chain), or a PKCS#12 file with certificate and key
#   TW_SIGN_KEY        PEM private key of the signer (not with PKCS#12)
#   TW_SIGN_PASS       password of the PKCS#12 file or of an encrypted key
#   TW_SIGN_TIMESTAMP  URL of an RFC 3161 time-stamping service
#   TW_SIGN_CA         PEM certificates to verify against (default: those of
#                      TW_SIGN_CERT, so the chain there should end in its root);
#                      the time stamp also against the system's roots

sign_wanted() { [ -n "${TW_SIGN_CERT:-}" ]; }

sign_is_pem() { grep -q -- '-----BEGIN' "$1" 2>/dev/null; }

sign_check_settings() {
  [ -f "$TW_SIGN_CERT" ] || { echo "TW_SIGN_CERT: no file $TW_SIGN_CERT"; return 1; }
  if sign_is_pem "$TW_SIGN_CERT"; then
    [ -n "${TW_SIGN_KEY:-}" ] || { echo "TW_SIGN_CERT is PEM: TW_SIGN_KEY must name its private key"; return 1; }
    [ -f "$TW_SIGN_KEY" ] || { echo "TW_SIGN_KEY: no file $TW_SIGN_KEY"; return 1; }
  elif [ -n "${TW_SIGN_KEY:-}" ]; then
    echo "TW_SIGN_CERT is not PEM (taken as PKCS#12, which holds the key): leave TW_SIGN_KEY unset"
    return 1
  fi
  [ -z "${TW_SIGN_CA:-}" ] || [ -f "$TW_SIGN_CA" ] || { echo "TW_SIGN_CA: no file $TW_SIGN_CA"; return 1; }
  command -v osslsigncode >/dev/null || { echo "osslsigncode is not installed"; return 1; }
}

# The password goes through a file descriptor, never the command line.
sign_program() {
  local in=$1 out=$2 args=(sign -h sha256 -n twuninst)
  if sign_is_pem "$TW_SIGN_CERT"; then
    args+=(-certs "$TW_SIGN_CERT" -key "$TW_SIGN_KEY")
  else
    args+=(-pkcs12 "$TW_SIGN_CERT")
  fi
  [ -z "${TW_SIGN_PASS:-}" ] || args+=(-readpass /dev/fd/3)
  [ -z "${TW_SIGN_TIMESTAMP:-}" ] || args+=(-ts "$TW_SIGN_TIMESTAMP")
  rm -f "$out"
  osslsigncode "${args[@]}" -in "$in" -out "$out" 3< <(printf '%s' "${TW_SIGN_PASS:-}")
}

# The certificates to verify against, as PEM on standard output.
sign_trusted_certificates() {
  if [ -n "${TW_SIGN_CA:-}" ]; then
    cat "$TW_SIGN_CA"
  elif sign_is_pem "$TW_SIGN_CERT"; then
    cat "$TW_SIGN_CERT"
  else
    openssl pkcs12 -in "$TW_SIGN_CERT" -nokeys -passin fd:3 3< <(printf '%s' "${TW_SIGN_PASS:-}") 2>/dev/null ||
      openssl pkcs12 -legacy -in "$TW_SIGN_CERT" -nokeys -passin fd:3 3< <(printf '%s' "${TW_SIGN_PASS:-}")
  fi
}

# osslsigncode ends with success when the time stamp's own signature does not
# verify (2.5 and 2.9 alike) and says so only in its report: with a time
# stamp asked for, that line must say ok. The service's chain may end in a
# root of the system's store.
sign_verify() {
  local file=$1 trusted tsa_trusted output status
  trusted=$(mktemp) tsa_trusted=$(mktemp)
  if ! sign_trusted_certificates >"$trusted"; then
    rm -f "$trusted" "$tsa_trusted"
    echo "cannot read the certificates of $TW_SIGN_CERT"
    return 1
  fi
  cat "$trusted" >"$tsa_trusted"
  [ ! -r /etc/ssl/certs/ca-certificates.crt ] || cat /etc/ssl/certs/ca-certificates.crt >>"$tsa_trusted"
  output=$(osslsigncode verify -CAfile "$trusted" -TSA-CAfile "$tsa_trusted" -in "$file" 2>&1)
  status=$?
  rm -f "$trusted" "$tsa_trusted"
  if [ $status -eq 0 ] && [ -n "${TW_SIGN_TIMESTAMP:-}" ] &&
    ! grep -q '^Timestamp Server Signature verification: ok' <<<"$output"; then
    echo "the time stamp of $file does not verify:"
    status=1
  elif [ $status -ne 0 ]; then
    echo "osslsigncode verify failed for $file:"
  fi
  [ $status -eq 0 ] || sed 's/^/  /' <<<"$output"
  return $status
}
